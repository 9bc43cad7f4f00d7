#include "playback/view/VideoPlayer.h"
#include "support/QtApp.h"
#include "support/UiRecorders.h"
#include "text/TextTable.h"
#include "ui/about/AboutDialog.h"
#include "ui/about/UrlOpener.h"
#include "ui/main/MainWindow.h"
#include "ui/panels/ConfigPanel.h"
#include "ui/panels/ConsolePanel.h"
#include "ui/panels/InfoPanel.h"
#include "ui/panels/LineChart.h"
#include "ui/panels/Thumbnail.h"

#include <gtest/gtest.h>

#include <QDialog>
#include <QMenu>
#include <QUrl>
#include <QMenuBar>
#include <QTimer>

namespace {

class MainWindowTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { qtApp(); }
    MessageBoxRecorder boxes;
};

QRect placed(const QWidget* w)
{
    return w->geometry();
}

} // namespace

TEST_F(MainWindowTest, LayoutFollowsTheClientSize)
{
    MainWindow window;
    window.show();
    window.showStartLogo();
    window.clientArea()->resize(1000, 700);
    EXPECT_EQ(placed(window.chart()), QRect(0, 610, 1000, 90));
    EXPECT_EQ(placed(window.consolePanel()), QRect(0, 545, 1000, 65));
    EXPECT_EQ(placed(window.configPanel()), QRect(791, 405, 209, 140));
    EXPECT_EQ(placed(window.infoPanel()), QRect(791, 0, 209, 180));
    EXPECT_EQ(placed(window.player()), QRect(21, 0, 770, 545));
    ASSERT_NE(window.startLogo(), nullptr);
    EXPECT_EQ(window.startLogo()->pos(), QPoint(245, 236));
    EXPECT_FALSE(window.thumbnail()->isVisible());
    EXPECT_FALSE(window.thumbnail()->isOwnEnabled());
}

TEST_F(MainWindowTest, StartsWithTheVideoAreaHoldingAFullSizePicture)
{
    MainWindow window;
    window.show();
    EXPECT_EQ(window.clientArea()->size(), MainWindow::kInitialClientSize);
    EXPECT_EQ(window.player()->size(), QSize(644, 485));
    window.resize(100, 100);
    EXPECT_GE(window.clientArea()->width(), MainWindow::kMinimumClientSize.width());
    EXPECT_GE(window.clientArea()->height(), MainWindow::kMinimumClientSize.height());
}

TEST_F(MainWindowTest, MenuTextsInOrder)
{
    MainWindow window;
    QStringList texts;
    for (QAction* top : window.menuBar()->actions()) {
        texts << top->text();
        for (QAction* item : top->menu()->actions())
            texts << (item->isSeparator() ? QStringLiteral("-") : item->text());
    }
    EXPECT_EQ(texts, QStringList({u"ファイル(&F)"_qs, u"開く(&O)..."_qs, u"-"_qs, u"終了(&X)"_qs, u"設定(&S)"_qs,
                                  u"本体設定(&S)..."_qs, u"日時設定(&C)..."_qs, u"ヘルプ(&H)"_qs, u"ヘルプ(&H)..."_qs,
                                  u"-"_qs, u"バージョン情報(&A)..."_qs}));
    for (QAction* top : window.menuBar()->actions())
        for (QAction* item : top->menu()->actions())
            EXPECT_TRUE(item->shortcut().isEmpty());
}

TEST_F(MainWindowTest, ExitWithNothingOpenClosesAtOnceWithoutAQuestion)
{
    auto* window = new MainWindow;
    QPointer<MainWindow> alive(window);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->show();
    window->runCommand(MainWindow::ExitCommand);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(alive.isNull());
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(MainWindowTest, WhileBusyCommandsAndClosingAreRefused)
{
    MainWindow window;
    window.show();
    window.setBusy(true);
    window.runCommand(MainWindow::ExitCommand);
    EXPECT_TRUE(window.isVisible());
    EXPECT_FALSE(window.close()) << "the close box is refused while a file loads";
    EXPECT_TRUE(window.isVisible());

    // A menu opened meanwhile closes again.
    QMenu* file = window.menuBar()->actions().front()->menu();
    file->popup(QPoint(10, 10));
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    EXPECT_FALSE(file->isVisible());

    window.setBusy(false);
    EXPECT_TRUE(window.close());
}

TEST_F(MainWindowTest, MenusGreyAndComeBackByPosition)
{
    MainWindow window;
    window.setMenusEnabled(false);
    for (QAction* top : window.menuBar()->actions())
        EXPECT_FALSE(top->isEnabled());
    window.setMenusEnabled(true);
    for (QAction* top : window.menuBar()->actions())
        EXPECT_TRUE(top->isEnabled());
}

TEST_F(MainWindowTest, TitleIsTheProductNameWithNothingOpen)
{
    MainWindow window;
    window.updateTitle();
    EXPECT_EQ(window.windowTitle(), QStringLiteral("KVR-M48C"));
    EXPECT_TRUE(window.dataPath.endsWith('/'));
    EXPECT_EQ(window.dataPath, window.cardFolder);
}

TEST_F(MainWindowTest, StartLogoIsBlankFirstThenStaysAfterTheSecondTick)
{
    ManualTimers timers;
    MainWindow window;
    window.showStartLogo();
    Animation* logo = window.startLogo();
    ASSERT_NE(logo, nullptr);
    EXPECT_EQ(timers.lastInterval, 100);
    EXPECT_EQ(logo->frame(), 0);
    const QImage blank = logo->grab().toImage();
    EXPECT_TRUE(timers.fire(*logo, 0));
    EXPECT_EQ(logo->frame(), 1);
    const QImage shown = logo->grab().toImage();
    EXPECT_NE(blank, shown);
    EXPECT_TRUE(timers.fire(*logo, 0));
    EXPECT_FALSE(timers.fire(*logo, 0)) << "the timer stops after the second tick";
    EXPECT_EQ(logo->grab().toImage(), shown);
    window.destroyStartLogo();
    EXPECT_EQ(window.startLogo(), nullptr);
}

namespace {

// The colour of picture `id` at (x, y) counted from its top-left corner.
QRgb skinPixel(int id, int x, int y)
{
    const AlphaImage picture(id);
    const std::uint8_t* p = picture.image()->memoryRow(picture.height() - 1 - y) + 4 * x;
    return qRgb(p[2], p[1], p[0]);
}

} // namespace

TEST_F(MainWindowTest, SkinFillsTheGapsBetweenThePanels)
{
    MainWindow window;
    window.show();
    window.clientArea()->resize(1000, 700);
    const QImage client = window.clientArea()->grab().toImage();
    // Right column: top cap under the information panel, tiles, then the
    // bottom cap ending 295 pixels above the client's bottom edge.
    const int x0 = 1000 - 209;
    const int end = 700 - 20 - 295;
    EXPECT_EQ(client.pixel(x0 + 7, 180 + 3), skinPixel(218, 7, 3));
    EXPECT_EQ(client.pixel(x0 + 100, 200 + 11), skinPixel(219, 100, 11));
    EXPECT_EQ(client.pixel(x0 + 100, 320 + 11), skinPixel(219, 100, 11)) << "the tile repeats";
    EXPECT_EQ(client.pixel(x0 + 50, end + 19), skinPixel(220, 50, 19));
    // The strip left of the video area, stretched to the client height less 155.
    EXPECT_EQ(client.pixel(10, 0), skinPixel(284, 10, 0));
    EXPECT_EQ(client.pixel(10, 700 - 155 - 1), skinPixel(284, 10, 479));
}

TEST_F(MainWindowTest, HelpThatCannotOpenShowsItsOwnWarning)
{
    MainWindow window;
    QUrl opened;
    const UrlOpener previous = setUrlOpener([&](const QUrl& url) {
        opened = url;
        return false; // no browser
    });
    window.runCommand(MainWindow::HelpCommand);
    setUrlOpener(previous);
    EXPECT_TRUE(opened.toLocalFile().endsWith(QStringLiteral("22100.html")));
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, resourceText(5058));
    EXPECT_EQ(boxes.shown[0].captionId, 5005);
}

TEST_F(MainWindowTest, AboutRunsOverTheMainWindow)
{
    MainWindow window;
    window.show();
    bool shownOverTheWindow = false;
    QTimer::singleShot(0, [&] {
        if (auto* dialog = window.findChild<AboutDialog*>()) {
            shownOverTheWindow = dialog->isVisible();
            dialog->accept();
        }
    });
    window.runCommand(MainWindow::AboutCommand);
    EXPECT_TRUE(shownOverTheWindow);
    EXPECT_EQ(window.findChild<AboutDialog*>(), nullptr) << "deleted once it has run";
}
