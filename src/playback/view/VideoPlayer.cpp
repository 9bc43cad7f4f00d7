#include "playback/view/VideoPlayer.h"

#include "errors/Exception.h"
#include "playback/SoundEvents.h"
#include "recording/RecordingFormat.h"
#include "recording/VideoInfo.h"
#include "text/TextTable.h"
#include "ui/framework/MessageBox.h"

#include <QCoreApplication>
#include <QDir>
#include <QPainter>
#include <array>
#include <cmath>

namespace {

constexpr int kInitialWidth = 640;
constexpr int kInitialHeight = 480;
constexpr int kTickIntervalMs = 35;
constexpr double kMsPerFrame = 1000.0 / 28.0;
constexpr double kInitialGamma = 1.2;

// The folder of a path: trailing slashes dropped, then everything from the
// last run of slashes on.
QString folderOf(QString path)
{
    while (path.size() > 1 && path.endsWith('/'))
        path.chop(1);
    qsizetype cut = path.lastIndexOf('/');
    if (cut < 0)
        return {};
    while (cut > 0 && path[cut - 1] == '/')
        --cut;
    return cut == 0 ? QStringLiteral("/") : path.left(cut);
}

// "Earlier" as the recorder's dates are compared: any of day, month or year
// smaller, each by itself.
bool isEarlier(const CalendarDate& a, const CalendarDate& b)
{
    return a.day < b.day || a.month < b.month || a.year < b.year;
}

bool isLater(const CalendarDate& a, const CalendarDate& b)
{
    return a.day > b.day || a.month > b.month || a.year > b.year;
}

} // namespace

CalendarDate CalendarDate::ofTime(std::int64_t seconds)
{
    const auto t = RecordingFormat::toLocalDateTime(seconds);
    return {t.year, t.month, t.day};
}

// An event of the player's own that arrived while a file was being indexed.
struct VideoPlayer::HeldEvent {
    QEvent::Type type;
    std::uint64_t generation = 0;
    int index = 0;
    std::unique_ptr<Image> image;
};

// Indexing a file: the window around is busy, and the player's own events
// wait until the open returns, on every way out.
class VideoPlayer::LoadingScope {
public:
    explicit LoadingScope(VideoPlayer& player) : player_(player)
    {
        player_.loading_ = true;
        player_.host_.setLoading(true);
    }
    ~LoadingScope()
    {
        player_.loading_ = false;
        player_.host_.setLoading(false);
        for (auto& held : std::exchange(player_.heldBack_, {})) {
            QEvent* event = held->type == LoaderEvent::FrameReady
                                ? new FrameReadyEvent(held->generation, held->index, std::move(held->image))
                                : new QEvent(held->type);
            QCoreApplication::postEvent(&player_, event);
        }
    }
    LoadingScope(const LoadingScope&) = delete;
    LoadingScope& operator=(const LoadingScope&) = delete;

private:
    VideoPlayer& player_;
};

VideoPlayer::VideoPlayer(QWidget* parent, IPlayerHost& host, std::unique_ptr<IWaveOutDevice> soundDevice)
    : Window(parent), host_(host)
{
    setGeometry(0, 0, kInitialWidth, kInitialHeight);
    setAttribute(Qt::WA_OpaquePaintEvent);
    gamma_.setGamma(kInitialGamma);
    sound_ = std::make_unique<WaveAudioPlayer>(this, std::move(soundDevice));
    loader_ = std::make_unique<ImageLoader>(this);
}

VideoPlayer::~VideoPlayer()
{
    close();
    loader_.reset(); // joins the worker before anything it posts to goes
}

void VideoPlayer::setCatalogue(Catalogue catalogue, int entryCount)
{
    catalogue_ = std::move(catalogue);
    entryCount_ = entryCount;
    catalogueDates_.clear();
    for (const CatalogueEntry& entry : catalogue_)
        catalogueDates_.push_back(CalendarDate::ofTime(entry.time));
}

int VideoPlayer::loadCatalogue(const QString& path)
{
    Catalogue scanned;
    const ScanResult result = scanFolder(path, scanned);
    setCatalogue(std::move(scanned), result.count);
    return result.startIndex;
}

int VideoPlayer::setSingleFile(const QString& path)
{
    setCatalogue({CatalogueEntry{path, 0}}, 0);
    return 0;
}

std::optional<QString> VideoPlayer::entryPath(int index) const
{
    if (index < 0 || index >= static_cast<int>(catalogue_.size()) || catalogue_[static_cast<std::size_t>(index)].path.isEmpty())
        return std::nullopt;
    return catalogue_[static_cast<std::size_t>(index)].path;
}

int VideoPlayer::clampFrame(int frame) const
{
    const int count = info_ ? info_->frameCount() : 0;
    if (count <= 0)
        return 0;
    return std::max(0, std::min(frame, count - 1));
}

QRect VideoPlayer::letterbox(QSize size)
{
    const std::int64_t w = size.width();
    const std::int64_t h = size.height();
    std::int64_t width = w, height = h;
    if (w * 480 < h * 640)
        height = w * 480 / 640;
    else
        width = h * 640 / 480;
    return QRect(static_cast<int>((w - width) / 2), static_cast<int>((h - height) / 2), static_cast<int>(width),
                 static_cast<int>(height));
}

void VideoPlayer::requestFrame()
{
    if (!folder_.isEmpty() && !QDir(folder_).exists()) {
        host_.closeAll();
        showMessageBox(host_.messageOwner(), resourceText(5078), TextId::CaptionWarning, MessageIcon::Warning);
        throw DataMissingException();
    }
    int index = clampFrame(currentFrame_);
    if (info_ && info_->framesPerRequest() != 1)
        index &= ~1;
    loader_->requestPicture(index); // refused while a decode runs: served right after it
}

void VideoPlayer::scheduleTick()
{
    endReached_ = false;
    currentFrame_ = clampFrame(frameReceived_ ? currentFrame_ + 1 : currentFrame_);
    loader_->armTick(monotonicMs() + static_cast<std::uint64_t>(tickIntervalMs_));
    try {
        requestFrame();
    } catch (const DataMissingException&) {
    }
}

void VideoPlayer::onTick()
{
    host_.refreshPlaybackDisplay();
    switch (sound_->status()) {
    case ISoundPlayer::Playing:
        currentFrame_ = clampFrame(static_cast<int>(sound_->positionMs() / msPerFrame_));
        break;
    case ISoundPlayer::NotOpen:
        if (state_ == Playing) {
            const double elapsed = static_cast<double>(monotonicMs() - sound_->playStartTick()) + sound_->startMs();
            currentFrame_ = static_cast<int>(elapsed / msPerFrame_);
        }
        break;
    default:
        break;
    }
    if (state_ != Playing)
        return;
    const int count = info_ ? info_->frameCount() : 0;
    if (currentFrame_ < count - 1) {
        scheduleTick();
        return;
    }
    endReached_ = true;
    currentFrame_ = clampFrame(currentFrame_); // the wall clock may have run past the end
    if (sound_->status() == ISoundPlayer::Playing)
        return; // the sound-finished event ends it
    reachEnd();
}

void VideoPlayer::reachEnd()
{
    state_ = Stopped;
    host_.refreshPlaybackDisplay();
    if (entryIndex_ < entryCount_ - 1)
        host_.openAdjacentFile(false);
}

void VideoPlayer::onSoundFinished()
{
    if (endReached_ && sound_->isFinished() && state_ == Playing)
        reachEnd();
}

void VideoPlayer::onFrameReady(FrameReadyEvent& event)
{
    if (event.generation != loader_->generation())
        return; // a picture of a recording that is no longer open
    frameReceived_ = true;
    if (event.image) {
        currentImage_ = std::move(event.image);
        shownFrame_ = event.index;
        rebuildShownPicture();
    }
    repaint();
}

void VideoPlayer::playFrom(int frame)
{
    if (state_ == Closed)
        return;
    state_ = Playing;
    host_.refreshPlaybackDisplay();
    currentFrame_ = clampFrame(frame);
    try {
        sound_->playFrom(static_cast<int>(currentFrame_ * msPerFrame_));
    } catch (const Exception&) {
        // No sound: the wall clock paces the pictures.
    }
    scheduleTick();
}

void VideoPlayer::resume()
{
    if (state_ == Closed)
        return;
    state_ = Playing;
    host_.refreshPlaybackDisplay();
    playFrom(currentFrame_);
}

void VideoPlayer::pause()
{
    if (state_ != Closed) {
        state_ = Paused;
        host_.refreshPlaybackDisplay();
    }
    try {
        sound_->pause();
    } catch (const Exception&) {
    }
}

void VideoPlayer::stop()
{
    if (state_ != Closed) {
        state_ = Stopped;
        host_.refreshPlaybackDisplay();
    }
    try {
        sound_->stop();
    } catch (const Exception&) {
    }
}

void VideoPlayer::seek(int frame)
{
    if (state_ == Closed)
        return;
    if (state_ == Playing || state_ == Paused)
        stop();
    const int target = clampFrame(frame);
    if (target == currentFrame_)
        return;
    currentFrame_ = target;
    try {
        requestFrame();
        onTick();
    } catch (const DataMissingException&) {
    }
}

void VideoPlayer::close()
{
    loader_->disarmTick();
    loader_->discardPending();
    sound_->close();
    state_ = Closed;
    currentFrame_ = 0;
    info_.reset();
    folder_.clear();
    currentImage_.reset();
    shownFrame_ = -1;
    shown_ = QImage();
    loader_->closeRecording(); // when the archive stays busy it stays open until the next open
}

bool VideoPlayer::openEntry(int index)
{
    const std::optional<QString> path = entryPath(index);
    if (!path)
        return false;
    dataFilePath_ = *path;
    close();
    repaint();
    host_.refreshPlaybackDisplay();
    frameReceived_ = false;
    msPerFrame_ = kMsPerFrame;
    tickIntervalMs_ = kTickIntervalMs;
    folder_ = folderOf(*path);
    showLoadingProgress(10);
    host_.recordingDisplaysChanged();
    entryIndex_ = index;

    try {
        LoadingScope loading(*this);
        loader_->openRecording(*path, *this);
    } catch (const VideoArchiveException&) {
        repaint();
        return false;
    } catch (const Exception& e) {
        repaint();
        rethrowAsBase(e);
    }

    info_ = loader_->createVideoInfo();
    info_->buildEventFrames();
    repaint();
    host_.recordingDisplaysChanged();
    try {
        requestFrame();
    } catch (const DataMissingException&) {
        return true;
    }
    try {
        sound_->open(loader_->archive().soundFilePath());
    } catch (...) {
        // The recording plays without sound, on the wall clock.
    }
    state_ = Stopped;
    host_.refreshPlaybackDisplay();
    return true;
}

void VideoPlayer::afterDateStep()
{
    if (frameReceived_)
        onTick();
    else
        scheduleTick();
}

void VideoPlayer::gotoAdjacentDate(bool previous)
{
    const bool known = entryIndex_ >= 0 && entryIndex_ < static_cast<int>(catalogue_.size());
    const std::int64_t time = known ? catalogue_[static_cast<std::size_t>(entryIndex_)].time : 0;
    if (state_ == Playing)
        pause();
    if (time == 0)
        return;
    const CalendarDate current = CalendarDate::ofTime(time);

    if (!previous) {
        for (int i = entryIndex_ + 1; i < entryCount_; ++i) {
            if (!isLater(catalogueDates_[static_cast<std::size_t>(i)], current))
                continue;
            entryIndex_ = i;
            if (openEntry(i)) {
                afterDateStep();
                return;
            }
        }
        showMessageBox(this, resourceText(5065), TextId::CaptionWarning, MessageIcon::Warning);
        throw Exception(QString());
    }
    if (openEarlierDate(current)) {
        afterDateStep();
        return;
    }
}

// The first file of the nearest earlier date; when it cannot be read, the
// other files of that date, then the earlier dates the same way. Each entry
// is tried once.
bool VideoPlayer::openEarlierDate(const CalendarDate& current)
{
    int i = std::min(entryIndex_, static_cast<int>(catalogueDates_.size())) - 1;
    while (i >= 0 && !isEarlier(catalogueDates_[static_cast<std::size_t>(i)], current))
        --i;
    if (i < 0) {
        showMessageBox(this, resourceText(5066), TextId::CaptionWarning, MessageIcon::Warning);
        throw Exception(QString());
    }
    while (i >= 0) {
        const CalendarDate date = catalogueDates_[static_cast<std::size_t>(i)];
        int first = i;
        while (first > 0 && catalogueDates_[static_cast<std::size_t>(first - 1)] == date)
            --first;
        for (int j = first; j <= i; ++j) {
            entryIndex_ = j;
            if (openEntry(j))
                return true;
        }
        i = first - 1;
    }
    throw VideoArchiveException(resourceText(TextId::CannotReadData));
}

// Drawn at once and only once, as the file is read on this thread: the next
// paint shows the player as it is again.
void VideoPlayer::showLoadingProgress(int percent)
{
    loadingText_ = QString::asprintf("Now Loading...%d%%", percent);
    repaint();
    loadingText_.clear();
}

void VideoPlayer::pumpEvents()
{
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void VideoPlayer::showWarning(const QString& text)
{
    showMessageBox(nullptr, text, TextId::CaptionWarning, MessageIcon::Warning);
}

// The picture as shown: brightness applied to a copy, rows top-down, the
// fourth byte opaque. Built once per picture or brightness, not per paint.
void VideoPlayer::rebuildShownPicture()
{
    shownGamma_ = gamma_.gamma();
    if (!currentImage_) {
        shown_ = QImage();
        return;
    }
    const Image& image = *currentImage_;
    if (shown_.size() != QSize(image.width(), image.height()))
        shown_ = QImage(image.width(), image.height(), QImage::Format_RGB32);
    // Each channel's table already shifted into place, the red one carrying
    // the opaque fourth byte: three look-ups and two ORs a pixel.
    std::array<std::uint32_t, 256> blue, green, red;
    const auto& table = gamma_.table();
    const bool identity = gamma_.gamma() == 1.0;
    for (std::uint32_t v = 0; v < 256; ++v) {
        const std::uint32_t t = identity ? v : table[v];
        blue[v] = t;
        green[v] = t << 8;
        red[v] = 0xFF000000u | t << 16;
    }
    const int width = image.width();
    for (int y = 0; y < image.height(); ++y) {
        const std::uint8_t* __restrict src = image.memoryRow(image.height() - 1 - y);
        auto* __restrict dst = reinterpret_cast<std::uint32_t*>(shown_.scanLine(y));
        for (int x = 0; x < width; ++x, src += 4)
            dst[x] = red[src[2]] | green[src[1]] | blue[src[0]];
    }
}

void VideoPlayer::paint()
{
    QPainter painter(this);
    if (!loadingText_.isEmpty()) {
        painter.fillRect(rect(), Qt::white);
        painter.setPen(Qt::black);
        painter.drawText(rect(), Qt::AlignCenter, loadingText_);
        return;
    }
    if (!currentImage_) {
        painter.fillRect(rect(), Qt::white);
        return;
    }
    if (shownGamma_ != gamma_.gamma())
        rebuildShownPicture();
    const QRect target = letterbox(size());
    const QRegion around = QRegion(rect()).subtracted(target);
    for (const QRect& r : around)
        painter.fillRect(r, Qt::white);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(target, shown_);
}

bool VideoPlayer::handleMessage(QEvent* event)
{
    const QEvent::Type type = event->type();
    const bool own = type == LoaderEvent::Tick || type == LoaderEvent::FrameReady || type == SoundEvent::Finished;
    if (own && loading_) {
        auto held = std::make_unique<HeldEvent>();
        held->type = type;
        if (type == LoaderEvent::FrameReady) {
            auto& frame = static_cast<FrameReadyEvent&>(*event);
            held->generation = frame.generation;
            held->index = frame.index;
            held->image = std::move(frame.image);
        }
        heldBack_.push_back(std::move(held));
        return true;
    }
    if (type == LoaderEvent::Tick) {
        if (frameReceived_)
            onTick();
        else
            scheduleTick(); // the first picture is still being decoded
        return true;
    }
    if (type == LoaderEvent::FrameReady) {
        onFrameReady(static_cast<FrameReadyEvent&>(*event));
        return true;
    }
    if (type == SoundEvent::Finished) {
        onSoundFinished();
        return true;
    }
    if (type == QEvent::Paint) {
        paint();
        return true;
    }
    return Window::handleMessage(event);
}
