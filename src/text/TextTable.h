#pragma once

#include <QString>
#include <cstdint>

// Ids of the texts that code names directly. The table itself lives in
// resources/text_table.inc.
namespace TextId {
enum : std::uint16_t {
    ProductName = 5001,
    NoVersionInformation = 5002,
    CaptionWarning = 5005,
    CaptionConfirm = 5013,
    CaptionInformation = 5017,
    CaptionError = 5018,
    InformationMissing = 5025,
    ApplicationError = 5057,
    HelpUnavailable = 5058,
    DeviceNotOpen = 5069,
    WindowsErrorCode = 5070,
    DataVersion = 5087,
    SoundRestoreFailed = 5501,
    CannotReadData = 5510,
    CannotReadImageArchive = 5511,
    ManyFilesQuestion = 5519,
};
}

// The text of an entry; an id with no entry yields the empty string.
QString resourceText(int id);

// The same entry taken through its narrow (code page) form and widened again,
// as the few callers that format narrow text expect.
QString resourceTextNarrow(int id);
