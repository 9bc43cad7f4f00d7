#pragma once

#include "imaging/GammaCorrection.h"
#include "imaging/Image.h"
#include "loader/ImageLoader.h"
#include "playback/IWaveOutDevice.h"
#include "playback/WaveAudioPlayer.h"
#include "recording/Catalogue.h"
#include "recording/ILoadingProgress.h"
#include "ui/framework/Window.h"

#include <QImage>
#include <QString>
#include <memory>
#include <optional>
#include <vector>

class IVideoInfo;

// A day of the local calendar.
struct CalendarDate {
    int year = 0, month = 0, day = 0;
    friend bool operator==(const CalendarDate&, const CalendarDate&) = default;
    static CalendarDate ofTime(std::int64_t seconds);
};

// What the player needs from the window around it. Calls go up only
// through here; the main window implements it.
class IPlayerHost {
public:
    virtual ~IPlayerHost() = default;
    // The displays that follow the play position (transport, information
    // panel, chart), after every state change and on every tick.
    virtual void refreshPlaybackDisplay() = 0;
    // Continues with the next file when one has played to its end.
    virtual void openAdjacentFile(bool previous) = 0;
    // The open folder has disappeared: close everything.
    virtual void closeAll() = 0;
    // Around indexing a file: busy on, menus 0-2 greyed, the picture and
    // sound panel disabled; and back.
    virtual void setLoading(bool loading) = 0;
    // A recording is being opened or has opened: the chart discards its
    // picture and the information panel repaints.
    virtual void recordingDisplaysChanged() = 0;
    // Owner of the player's message boxes (5078).
    virtual QWidget* messageOwner() = 0;
};

// The playback engine and the window that shows the picture. It owns the
// catalogue of the open folder, the loader (with the archive of the open
// recording), the metadata, the sound player, the brightness table and the
// picture on screen. Everything runs on the UI thread; the loader's worker
// and the sound device only post events to it.
class VideoPlayer : public Window, public ILoadingProgress {
public:
    enum State { Closed = 0, Playing = 1, Stopped = 2, Paused = 3 };

    VideoPlayer(QWidget* parent, IPlayerHost& host,
                std::unique_ptr<IWaveOutDevice> soundDevice = createSystemWaveOutDevice());
    ~VideoPlayer() override;

    // The catalogue: the folder of `path` (returns the index to open first
    // and sets the entry count), or `path` alone (entry count 0).
    int loadCatalogue(const QString& path);
    int setSingleFile(const QString& path);
    std::optional<QString> entryPath(int index) const;

    // Opens catalogue entry `index`: true when the recording is open (also
    // without sound), false when it cannot be read. Raises Exception for
    // other loading failures.
    bool openEntry(int index);
    void close();

    void playFrom(int frame);
    void resume();
    void pause();
    void stop();
    void seek(int frame);
    // Opens the first file of the next or previous recording date. Raises
    // Exception (empty text) after telling the user there is none.
    void gotoAdjacentDate(bool previous);

    // ILoadingProgress, used while the reader indexes a file.
    void showLoadingProgress(int percent) override;
    void pumpEvents() override;
    void showWarning(const QString& text) override;

    State state() const { return state_; }
    int currentFrame() const { return currentFrame_; }
    int entryIndex() const { return entryIndex_; }
    int entryCount() const { return entryCount_; }
    const Catalogue& catalogue() const { return catalogue_; }
    // The local date of each catalogue entry, worked out once per catalogue.
    const std::vector<CalendarDate>& catalogueDates() const { return catalogueDates_; }
    const IVideoInfo* info() const { return info_.get(); }
    const QString& dataFilePath() const { return dataFilePath_; }
    GammaCorrection& gamma() { return gamma_; }
    WaveAudioPlayer& sound() { return *sound_; }
    const Image* currentImage() const { return currentImage_.get(); }
    // The frame whose picture is on screen, -1 without one.
    int shownFrame() const { return shownFrame_; }

    int clampFrame(int frame) const;
    // The 4:3 picture rectangle centred in a client area of `size`.
    static QRect letterbox(QSize size);

protected:
    bool handleMessage(QEvent* event) override;

private:
    struct HeldEvent;

    void requestFrame();
    void scheduleTick();
    void onTick();
    void onFrameReady(class FrameReadyEvent& event);
    void onSoundFinished();
    void reachEnd();
    void paint();
    void rebuildShownPicture();
    void setCatalogue(Catalogue catalogue, int entryCount);
    bool openEarlierDate(const CalendarDate& current);
    void afterDateStep();
    class LoadingScope;

    IPlayerHost& host_;

    // UI thread only.
    State state_ = Closed;
    int currentFrame_ = 0;
    int tickIntervalMs_ = 100;
    double msPerFrame_ = 35.7142;
    bool endReached_ = false;
    bool frameReceived_ = false;
    int entryIndex_ = 0;
    int entryCount_ = 0;
    Catalogue catalogue_;
    std::vector<CalendarDate> catalogueDates_;
    std::unique_ptr<IVideoInfo> info_;
    QString folder_;
    QString dataFilePath_;
    std::unique_ptr<Image> currentImage_;
    int shownFrame_ = -1;
    GammaCorrection gamma_;
    QImage shown_;            // currentImage_ with the brightness applied, top-down and opaque
    double shownGamma_ = 0.0; // the brightness `shown_` was built with
    QString loadingText_;     // set only while showLoadingProgress paints
    bool loading_ = false;
    std::vector<std::unique_ptr<HeldEvent>> heldBack_; // own events that arrived while loading

    std::unique_ptr<WaveAudioPlayer> sound_;
    std::unique_ptr<ImageLoader> loader_; // last: its worker posts to this window
};
