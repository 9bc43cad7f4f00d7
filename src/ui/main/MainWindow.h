#pragma once

#include "imaging/ResourceImages.h"
#include "playback/IWaveOutDevice.h"
#include "playback/view/VideoPlayer.h"
#include "ui/framework/Window.h"
#include "ui/main/Animation.h"

#include <QPointer>
#include <QString>
#include <array>
#include <memory>

class ConfigPanel;
class ConsolePanel;
class InfoPanel;
class LineChart;
class QMenu;
class QMenuBar;
class Thumbnail;

// The program's only top-level window: menu, panels, layout, skin, title.
// The panels are children of its client area (below the menu bar) and die
// with it.
class MainWindow : public Window, public IPlayerHost {
public:
    enum Command {
        OpenCommand = 40004,
        ExitCommand = 40005,
        DeviceSettingsCommand = 40012,
        DateTimeCommand = 40015,
        HelpCommand = 40019,
        AboutCommand = 40020,
        RestoreCardCommand = 40024,
    };

    // The client area below the menu bar at start, and the least it can be.
    static constexpr QSize kInitialClientSize{874, 640};
    static constexpr QSize kMinimumClientSize{792, 587};

    // The player plays its sound on `soundDevice` (tests hand in a fake one).
    explicit MainWindow(std::unique_ptr<IWaveOutDevice> soundDevice = createSystemWaveOutDevice());
    ~MainWindow() override;

    // Above this many files in a folder the user is asked before it is read.
    static constexpr int kLargeFolderEntries = 1000;

    // Runs a menu command; ignored while busy. Every command but Exit first
    // pauses playback.
    void runCommand(int id);

    void layoutPanels(int width, int height);
    void paintBackground(QPainter& painter);
    void showChart();
    void updateTitle();

    // Opens a data file: a file named in the recorder's form with its whole
    // folder, any other file alone. When it cannot be read, the files after
    // it (before it when `previous`) are tried in turn. Starts playing what
    // opened; tells the user when nothing did.
    void openData(const QString& path, bool previous);
    // Opens and plays the first file of the next (previous) recording date.
    void openAdjacentDate(bool previous);

    // IPlayerHost
    void refreshPlaybackDisplay() override;
    // The next (previous) file of the folder; at either end the user is told
    // there is none and the open recording stays.
    void openAdjacentFile(bool previous) override;
    void closeAll() override;
    void setLoading(bool loading) override;
    void recordingDisplaysChanged() override;
    QWidget* messageOwner() override { return this; }

    // Puts the start logo over the video area (once the window is shown).
    void showStartLogo();
    void destroyStartLogo();
    Animation* startLogo() const { return startLogo_; }

    // Set by the player while it loads a file: commands and closing are
    // refused, and a menu opened meanwhile closes again.
    bool isBusy() const { return busy_; }
    void setBusy(bool busy) { busy_ = busy; }
    // The first three top-level menus, greyed while a file loads.
    void setMenusEnabled(bool enabled);

    // Stops everything that runs on its own (playback, timers) before a
    // fatal error is shown.
    void emergencyStop();

    QWidget* clientArea() const;
    QMenuBar* menuBar() const { return menuBar_; }
    VideoPlayer* player() const { return player_; }
    ConsolePanel* consolePanel() const { return consolePanel_; }
    ConfigPanel* configPanel() const { return configPanel_; }
    InfoPanel* infoPanel() const { return infoPanel_; }
    LineChart* chart() const { return chart_; }
    Thumbnail* thumbnail() const { return thumbnail_; }

    QString dataPath;   // the data file chosen last; where the open dialog starts
    QString cardFolder; // the card folder remembered for the settings dialogs

protected:
    bool handleMessage(QEvent* event) override;

private:
    class ClientArea;

    void buildMenu();
    void openChosenFile();
    void resetDisplaysForOpening();
    bool openFirstReadableEntry(int start, bool previous);
    void startPlayback();
    void showOpenFailed();
    void closeRequested(QEvent* event);
    bool confirmExit();
    void placeWindow();

    QMenuBar* menuBar_ = nullptr;
    std::array<QMenu*, 3> menus_{};
    ClientArea* client_ = nullptr;
    VideoPlayer* player_ = nullptr;
    ConfigPanel* configPanel_ = nullptr;
    ConsolePanel* consolePanel_ = nullptr;
    InfoPanel* infoPanel_ = nullptr;
    LineChart* chart_ = nullptr;
    Thumbnail* thumbnail_ = nullptr;
    QPointer<Animation> startLogo_;

    // The right column's gap and the strip left of the video area.
    std::unique_ptr<AlphaImage> columnTop_, columnTile_, columnBottom_, leftEdge_;

    bool busy_ = false;
    bool closing_ = false;
};
