#include "errors/Exception.h"
#include "support/QtApp.h"
#include "support/UiRecorders.h"
#include "text/TextTable.h"
#include "ui/framework/Dialog.h"
#include "ui/framework/DialogMutex.h"
#include "ui/framework/Window.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QKeyEvent>
#include <QPointer>
#include <QTimer>
#include <csignal>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

class FrameworkTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { qtApp(); }
    MessageBoxRecorder boxes;
};

class ScriptedDialog : public Dialog {
public:
    explicit ScriptedDialog(bool failToBuild = false) : Dialog(132), failToBuild_(failToBuild) {}
    bool built = false;

protected:
    void build() override
    {
        if (failToBuild_)
            throw WindowException::fromError(ENOENT);
        built = true;
    }

private:
    bool failToBuild_;
};

// Runs the dialog and, once its loop runs, does `action` to it.
template <class Action>
int runWith(Dialog& dialog, QWidget* owner, Action action)
{
    QTimer::singleShot(0, &dialog, [&] { action(dialog); });
    return dialog.runModal(owner);
}

} // namespace

TEST_F(FrameworkTest, RunModalAnswers)
{
    QWidget owner;
    struct Case {
        const char* what;
        std::function<void(Dialog&)> action;
        int expected;
    };
    const Case cases[] = {
        {"OK", [](Dialog& d) { d.accept(); }, 1},
        {"Cancel", [](Dialog& d) { d.reject(); }, 2},
        {"Esc", [](Dialog& d) {
             QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
             QApplication::sendEvent(&d, &esc);
         }, 2},
        {"close box", [](Dialog& d) { d.close(); }, 2},
    };
    for (const Case& c : cases) {
        ScriptedDialog dialog;
        EXPECT_EQ(runWith(dialog, &owner, c.action), c.expected) << c.what;
        EXPECT_TRUE(dialog.built);
        EXPECT_EQ(dialog.parentWidget(), &owner) << "not deleted on close, still readable";
    }
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(FrameworkTest, DialogThatCannotBeBuiltWarnsAndAnswersMinusOne)
{
    QWidget owner;
    ScriptedDialog dialog(true);
    EXPECT_EQ(dialog.runModal(&owner), -1);
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].owner, &owner);
    EXPECT_EQ(boxes.shown[0].text, QStringLiteral("No such file or directory"));
    EXPECT_EQ(boxes.shown[0].captionId, 5005);
    EXPECT_EQ(boxes.shown[0].icon, MessageIcon::Warning);
}

TEST_F(FrameworkTest, CentreOverTruncates)
{
    QWidget parent;
    parent.resize(1000, 1000);
    QWidget reference(&parent), window(&parent);
    reference.setGeometry(0, 0, 301, 301);
    window.setGeometry(500, 500, 100, 100);
    centreOver(&window, &reference);
    EXPECT_EQ(window.pos(), QPoint(100, 100));
}

TEST_F(FrameworkTest, OwnEnabledIgnoresTheParentsState)
{
    Window parent;
    auto* child = new Window(&parent);
    parent.setEnabled(false);
    EXPECT_FALSE(child->isEnabled());
    EXPECT_TRUE(child->isOwnEnabled());
    child->setOwnEnabled(false);
    EXPECT_FALSE(child->isOwnEnabled());
    parent.setEnabled(true);
    EXPECT_FALSE(child->isOwnEnabled());
}

TEST_F(FrameworkTest, ChildWindowsDieWithTheirParent)
{
    auto* parent = new Window;
    QPointer<Window> child = new Window(parent);
    delete parent;
    EXPECT_TRUE(child.isNull());
}

TEST_F(FrameworkTest, AFailureInAHandlerStopsAtTheRouter)
{
    FatalErrorRecorder fatal;
    struct Throwing : Window {
        bool handleMessage(QEvent* e) override
        {
            if (e->type() == QEvent::User)
                throw VideoArchiveException(QStringLiteral("boom"));
            return Window::handleMessage(e);
        }
        void onTimer(int) override { throw std::bad_alloc(); }
    } window;
    QEvent user(QEvent::User);
    QApplication::sendEvent(&window, &user); // would terminate if it crossed Qt
    ManualTimers timers;
    window.setTimer(0, 100);
    EXPECT_TRUE(timers.fire(window, 0));
    ASSERT_EQ(FatalErrorRecorder::errors().size(), 2u);
    EXPECT_THROW(std::rethrow_exception(FatalErrorRecorder::errors()[0]), VideoArchiveException);
    EXPECT_THROW(std::rethrow_exception(FatalErrorRecorder::errors()[1]), std::bad_alloc);
}

TEST_F(FrameworkTest, SettingsMarkerAcrossProcessesEvenWhenTheHolderIsKilled)
{
    qputenv("XDG_RUNTIME_DIR", QByteArray("/nonexistent-runtime")); // falls back to the temp folder
    const QString name = QStringLiteral("KVR_TEST_MARKER_%1").arg(::getpid());
    const QByteArray path = QFile::encodeName(DialogMutex::lockFilePath(name));

    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t holder = ::fork();
    ASSERT_GE(holder, 0);
    if (holder == 0) { // another instance with its settings dialog open
        const int fd = ::open(path.constData(), O_RDWR | O_CREAT, 0600);
        ::flock(fd, LOCK_EX);
        (void)!::write(ready[1], "x", 1);
        for (;;)
            ::pause();
    }
    char byte;
    ASSERT_EQ(::read(ready[0], &byte, 1), 1);
    ::close(ready[0]);
    ::close(ready[1]);

    QWidget mainWindow;
    {
        DialogMutex marker(name, &mainWindow);
        EXPECT_FALSE(marker.isHeld());
        ASSERT_EQ(boxes.shown.size(), 1u);
        EXPECT_EQ(boxes.shown[0].text, resourceText(5060));
        EXPECT_EQ(boxes.shown[0].owner, &mainWindow);
        EXPECT_EQ(boxes.shown[0].captionId, 5005);
    }

    ::kill(holder, SIGKILL);
    ::waitpid(holder, nullptr, 0);
    {
        DialogMutex marker(name, &mainWindow);
        EXPECT_TRUE(marker.isHeld());
        EXPECT_EQ(boxes.shown.size(), 1u) << "the kernel freed the dead holder's marker";
        DialogMutex second(name, &mainWindow); // as another instance would see it
        EXPECT_FALSE(second.isHeld());
        EXPECT_EQ(boxes.shown.size(), 2u);
    }
    DialogMutex afterwards(name, &mainWindow);
    EXPECT_TRUE(afterwards.isHeld());
    ::unlink(path.constData());
}
