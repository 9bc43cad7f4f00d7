#pragma once

// The help page, resource 22100, with its pictures 22101-22118.
namespace HelpPage {
constexpr int kPage = 22100;
constexpr int kFirstPicture = 22101;
constexpr int kLastPicture = 22118;
} // namespace HelpPage

// Opens the help page in the desktop's browser. The page and its pictures
// are copied out of the program's resources into a fresh temporary folder
// first (the page names its pictures by their bare numbers). Raises
// WindowException when the page cannot be written or opened.
void showHelp();

// Opens the support page (text 5086). Raises WindowException when there is
// no address or the desktop refuses it.
void openSupportPage();
