#include "ui/main/MainWindow.h"

#include "device/dialogs/DataFileChooser.h"
#include "errors/Exception.h"
#include "playback/view/VideoPlayer.h"
#include "recording/Catalogue.h"
#include "ui/about/AboutDialog.h"
#include "ui/about/HelpPage.h"
#include "text/TextTable.h"
#include "ui/controls/PlayTrackBar.h"
#include "ui/framework/ErrorRouter.h"
#include "ui/framework/MessageBox.h"
#include "ui/framework/SystemColours.h"
#include "ui/main/Animation.h"
#include "ui/panels/ConfigPanel.h"
#include "ui/panels/ConsolePanel.h"
#include "ui/panels/InfoPanel.h"
#include "ui/panels/LineChart.h"
#include "ui/panels/Thumbnail.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QIcon>
#include <QLoggingCategory>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QScreen>
#include <QTimer>

Q_LOGGING_CATEGORY(lcMessages, "kvr.messages", QtWarningMsg)

namespace {

constexpr int kChartHeight = 90;
constexpr int kTransportHeight = 65;
constexpr int kColumnWidth = 209;
constexpr int kConfigHeight = 140;
constexpr int kInfoHeight = 180;
constexpr int kVideoLeft = 21;

// Shown at either end of the folder's files (the texts speak of dates).
constexpr int kNoLaterFileText = 5065;
constexpr int kNoEarlierFileText = 5066;

// The program's own folder, with a trailing slash.
QString programFolder()
{
    QString folder = QCoreApplication::applicationDirPath();
    if (!folder.isEmpty() && !folder.endsWith('/'))
        folder += '/';
    return folder;
}

// Icon 294 in every size it is drawn at.
QIcon programIcon()
{
    QIcon icon;
    for (const int size : {16, 24, 32, 48, 64, 256})
        icon.addFile(QStringLiteral(":/ICON/294-%1").arg(size), QSize(size, size));
    return icon;
}

} // namespace

// The area below the menu bar: it hosts the panels and paints the skin in
// the gaps between them.
class MainWindow::ClientArea : public Window {
public:
    explicit ClientArea(MainWindow& owner) : Window(&owner), owner_(owner) {}

protected:
    bool handleMessage(QEvent* event) override
    {
        switch (event->type()) {
        case QEvent::Resize:
            owner_.layoutPanels(width(), height());
            return true;
        case QEvent::Paint: {
            QPainter painter(this);
            owner_.paintBackground(painter);
            return true;
        }
        default:
            return Window::handleMessage(event);
        }
    }

private:
    MainWindow& owner_;
};

MainWindow::MainWindow(std::unique_ptr<IWaveOutDevice> soundDevice)
{
    dataPath = programFolder();
    cardFolder = dataPath;
    setWindowTitle(resourceText(TextId::ProductName));
    setWindowIcon(programIcon());

    buildMenu();
    client_ = new ClientArea(*this);

    columnTop_ = std::make_unique<AlphaImage>(218);
    columnTile_ = std::make_unique<AlphaImage>(219);
    columnBottom_ = std::make_unique<AlphaImage>(220);
    leftEdge_ = std::make_unique<AlphaImage>(284);

    player_ = new VideoPlayer(client_, *this, std::move(soundDevice));
    configPanel_ = new ConfigPanel(client_, *this);
    consolePanel_ = new ConsolePanel(client_, *this);
    infoPanel_ = new InfoPanel(client_, *player_);
    chart_ = new LineChart(client_, *player_);
    thumbnail_ = new Thumbnail(client_);

    const int menuHeight = menuBar_->sizeHint().height();
    setMinimumSize(kMinimumClientSize.width(), kMinimumClientSize.height() + menuHeight);
    resize(kInitialClientSize.width(), kInitialClientSize.height() + menuHeight);
    placeWindow();

    setFocus();
    showChart();
}

MainWindow::~MainWindow() = default;

QWidget* MainWindow::clientArea() const
{
    return client_;
}

void MainWindow::buildMenu()
{
    menuBar_ = new QMenuBar(this);
    struct Item {
        int menu;
        int id; // 0: separator
        const char16_t* text;
    };
    static constexpr const char16_t* kMenus[] = {u"ファイル(&F)", u"設定(&S)", u"ヘルプ(&H)"};
    static constexpr Item kItems[] = {
        {0, OpenCommand, u"開く(&O)..."},         {0, 0, nullptr}, {0, ExitCommand, u"終了(&X)"},
        {1, DeviceSettingsCommand, u"本体設定(&S)..."}, {1, DateTimeCommand, u"日時設定(&C)..."},
        {2, HelpCommand, u"ヘルプ(&H)..."},       {2, 0, nullptr}, {2, AboutCommand, u"バージョン情報(&A)..."},
    };
    for (std::size_t m = 0; m < menus_.size(); ++m) {
        menus_[m] = menuBar_->addMenu(QString::fromUtf16(kMenus[m]));
        // A menu opened while a file loads closes again at once.
        connect(menus_[m], &QMenu::aboutToShow, this, [this, menu = menus_[m]] {
            if (busy_)
                QTimer::singleShot(0, menu, &QMenu::close);
        });
    }
    for (const Item& item : kItems) {
        QMenu* menu = menus_[static_cast<std::size_t>(item.menu)];
        if (item.id == 0) {
            menu->addSeparator();
            continue;
        }
        QAction* action = menu->addAction(QString::fromUtf16(item.text));
        connect(action, &QAction::triggered, this,
                [this, id = item.id] { routeErrorsVoid([&] { runCommand(id); }); });
    }
}

// Centred on the screen, and never with the title bar out of reach.
void MainWindow::placeWindow()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect available = screen->availableGeometry();
    QRect frame = frameGeometry();
    frame.moveCenter(available.center());
    frame.moveTop(std::max(frame.top(), available.top()));
    frame.moveLeft(std::max(frame.left(), available.left()));
    move(frame.topLeft());
}

void MainWindow::setMenusEnabled(bool enabled)
{
    for (QMenu* menu : menus_)
        menu->menuAction()->setEnabled(enabled);
}

void MainWindow::runCommand(int id)
{
    if (busy_)
        return;
    if (id != ExitCommand && player_->state() == VideoPlayer::Playing)
        player_->pause();
    switch (id) {
    case OpenCommand:
        openChosenFile();
        break;
    case ExitCommand:
        close();
        break;
    case HelpCommand:
        try {
            showHelp();
        } catch (const Exception&) {
            showMessageBox(this, resourceText(TextId::HelpUnavailable), TextId::CaptionWarning, MessageIcon::Warning);
        }
        break;
    case AboutCommand: {
        AboutDialog dialog;
        dialog.runModal(this);
        break;
    }
    default:
        break;
    }
}

void MainWindow::layoutPanels(int w, int h)
{
    int y = h;
    if (chart_->isOwnEnabled()) {
        y -= kChartHeight;
        chart_->setGeometry(0, y, w, kChartHeight);
    }
    y -= kTransportHeight;
    consolePanel_->setGeometry(0, y, w, kTransportHeight);
    configPanel_->setGeometry(w - kColumnWidth, y - kConfigHeight, kColumnWidth, kConfigHeight);
    infoPanel_->setGeometry(w - kColumnWidth, 0, kColumnWidth, kInfoHeight);
    player_->setGeometry(kVideoLeft, 0, w - 230, y);
    if (startLogo_)
        startLogo_->setGeometry((w - 510) / 2, (y - Animation::kHeight) / 2, Animation::kWidth,
                                Animation::kHeight);
}

void MainWindow::paintBackground(QPainter& painter)
{
    const QRect client = client_->rect();
    const int right = client.width();
    const int bottom = client.height();
    if (!columnTop_->image() || !columnTile_->image() || !columnBottom_->image() || !leftEdge_->image()) {
        painter.fillRect(client, buttonFaceColour());
        return;
    }
    const int x0 = right - kColumnWidth;
    columnTop_->drawAt(painter, x0, kInfoHeight);
    // The bottom of the column's gap: just above the picture and sound panel.
    const int end = bottom - columnBottom_->height() - 295;
    const int tile = columnTile_->height();
    if (tile > 0) {
        for (int y = kInfoHeight + columnTop_->height(); y < end;) {
            const int piece = std::min(tile, end - y);
            columnTile_->drawPart(painter, x0, y, kColumnWidth, piece, 0, kColumnWidth, piece);
            y += piece;
        }
        columnBottom_->drawAt(painter, x0, end);
    }
    leftEdge_->drawStretched(painter, 0, 0, kVideoLeft, bottom - 155);
}

void MainWindow::refreshPlaybackDisplay()
{
    consolePanel_->refreshControls();
    if (!QApplication::focusWidget())
        setFocus();
    if (chart_->isOwnEnabled())
        chart_->repaint();
    infoPanel_->repaint();
}

void MainWindow::setLoading(bool loading)
{
    busy_ = loading;
    configPanel_->setAllEnabled(!loading);
    setMenusEnabled(!loading);
}

void MainWindow::recordingDisplaysChanged()
{
    chart_->clearPicture();
    infoPanel_->repaint();
}

void MainWindow::openChosenFile()
{
    const QString startFolder = dataPath;
    if (const std::optional<QString> path = chooseDataFile(this, startFolder))
        openData(*path, false);
}

void MainWindow::openData(const QString& path, bool previous)
{
    if (player_->state() == VideoPlayer::Playing)
        player_->pause();
    dataPath = path;
    try {
        destroyStartLogo();
        showChart();
        consolePanel_->setFileButtonTips(ConsolePanel::kFileTipsNextPrevious);
        resetDisplaysForOpening();

        int start = 0;
        if (isDataFileName(path)) {
            start = player_->loadCatalogue(path);
            if (player_->entryCount() > kLargeFolderEntries &&
                showMessageBox(this, resourceText(TextId::ManyFilesQuestion), TextId::CaptionWarning,
                               MessageIcon::Warning, MessageButtons::OkCancel) != MessageAnswer::Ok)
                return;
        } else {
            start = player_->setSingleFile(path);
        }
        if (!openFirstReadableEntry(start, previous))
            throw VideoArchiveException(resourceText(TextId::CannotReadData));

        dataPath = player_->dataFilePath();
        chart_->clearPicture();
        updateTitle();
        startPlayback();
    } catch (const Exception& e) {
        showOpenFailed();
        showMessageBox(this, e.message(), TextId::CaptionWarning, MessageIcon::Warning);
    }
}

// Nothing of the previous recording stays on screen while the next one loads.
void MainWindow::resetDisplaysForOpening()
{
    player_->close();
    player_->repaint();
    refreshPlaybackDisplay();
    infoPanel_->repaint();
    chart_->clearPicture();
    consolePanel_->positionBar()->setValue(0, false);
    player_->showLoadingProgress(0);
}

// Opens entry `start`, or when it cannot be read the entries after it (before
// it when `previous`), each once. A single file has no neighbours.
bool MainWindow::openFirstReadableEntry(int start, bool previous)
{
    const int step = previous ? -1 : 1;
    const int last = std::max(player_->entryCount(), 1) - 1;
    for (int i = start; i >= 0 && i <= last; i += step) {
        if (player_->openEntry(i))
            return true;
    }
    return false;
}

void MainWindow::startPlayback()
{
    if (player_->state() == VideoPlayer::Paused)
        player_->resume();
    else
        player_->playFrom(player_->currentFrame());
}

void MainWindow::showOpenFailed()
{
    player_->repaint();
    showChart();
    chart_->clearPicture();
    updateTitle();
}

void MainWindow::openAdjacentFile(bool previous)
{
    if (player_->state() == VideoPlayer::Playing)
        player_->pause();
    const int index = player_->entryIndex() + (previous ? -1 : 1);
    const std::optional<QString> path =
        index >= 0 && index < player_->entryCount() ? player_->entryPath(index) : std::nullopt;
    if (!path) {
        showMessageBox(this, resourceText(previous ? kNoEarlierFileText : kNoLaterFileText), TextId::CaptionWarning,
                       MessageIcon::Warning);
        return;
    }
    consolePanel_->positionBar()->setValue(0, false);
    openData(*path, previous);
}

void MainWindow::openAdjacentDate(bool previous)
{
    try {
        player_->gotoAdjacentDate(previous);
        if (!player_->info())
            return; // nothing was open to step from
        dataPath = player_->dataFilePath();
        updateTitle();
        startPlayback();
    } catch (const Exception& e) {
        showOpenFailed();
        // An empty text: the player has told the user already.
        if (!e.message().isEmpty())
            showMessageBox(this, e.message(), TextId::CaptionWarning, MessageIcon::Warning);
    }
}

void MainWindow::closeAll()
{
    player_->close();
    player_->repaint();
    refreshPlaybackDisplay();
    chart_->clearPicture();
    showChart();
    updateTitle();
    repaint();
}

void MainWindow::showChart()
{
    chart_->setOwnEnabled(true);
    chart_->show();
    consolePanel_->setOwnEnabled(true);
    thumbnail_->setOwnEnabled(false);
    thumbnail_->hide();
    chart_->setGeometry(0, client_->height() - kChartHeight, client_->width(), kChartHeight);
    configPanel_->setVolumeEnabled(true);
    consolePanel_->showControls(true);
    consolePanel_->refreshControls(); // the buttons follow the player again
}

void MainWindow::updateTitle()
{
    const QString product = resourceText(TextId::ProductName);
    setWindowTitle(player_->info() ? QStringLiteral("%1 - %2").arg(dataPath, product) : product);
    infoPanel_->repaint();
    consolePanel_->repaint();
    consolePanel_->refreshControls();
    client_->repaint();
}

void MainWindow::showStartLogo()
{
    if (!startLogo_)
        startLogo_ = new Animation(player_);
}

void MainWindow::destroyStartLogo()
{
    delete startLogo_.data();
}

void MainWindow::emergencyStop()
{
    if (player_->state() == VideoPlayer::Playing)
        player_->pause();
    if (startLogo_)
        startLogo_->stopTimer(0);
}

bool MainWindow::confirmExit()
{
    if (player_->state() == VideoPlayer::Playing)
        player_->pause();
    if (player_->info() &&
        showMessageBox(this, resourceText(5059), TextId::CaptionConfirm, MessageIcon::Question,
                       MessageButtons::OkCancel) != MessageAnswer::Ok)
        return false;
    return true;
}

void MainWindow::closeRequested(QEvent* event)
{
    if (closing_) {
        event->accept();
        return;
    }
    if (busy_ || !confirmExit()) {
        event->ignore();
        return;
    }
    closing_ = true;
    event->accept();
}

bool MainWindow::handleMessage(QEvent* event)
{
    qCDebug(lcMessages, "message:%d", static_cast<int>(event->type()));
    switch (event->type()) {
    case QEvent::Resize: {
        const int menuHeight = menuBar_->sizeHint().height();
        menuBar_->setGeometry(0, 0, width(), menuHeight);
        client_->setGeometry(0, menuHeight, width(), height() - menuHeight);
        return true;
    }
    case QEvent::Close:
        closeRequested(event);
        return true;
    default:
        return Window::handleMessage(event);
    }
}
