#include "app/FatalErrorGuard.h"
#include "app/StartUp.h"
#include "errors/Exception.h"
#include "support/QtApp.h"
#include "support/UiRecorders.h"
#include "ui/main/MainWindow.h"

#include <gtest/gtest.h>

#include <QTimer>

TEST(StartUp, DataVersionFollowsStrtolRules)
{
    struct Case {
        const char16_t* text;
        std::optional<std::pair<int, int>> version;
    } const cases[] = {
        {u"0402", std::pair{4, 2}}, {u"1A2B", std::pair{0x1A, 0x2B}}, {u"  0x0305", std::pair{3, 5}},
        {u"+ff", std::pair{0, 0xFF}}, {u"12345", std::nullopt},        {u"xyz", std::nullopt},
        {u"", std::nullopt},          {u"04zz", std::pair{0, 4}},       {u"FFFF", std::pair{0xFF, 0xFF}},
        {u"-1", std::pair{0xFF, 0xFF}},
    };
    for (const Case& c : cases) {
        const auto v = parseDataVersion(QString::fromUtf16(c.text));
        ASSERT_EQ(v.has_value(), c.version.has_value()) << QString::fromUtf16(c.text).toStdString();
        if (v) {
            EXPECT_EQ(v->major, c.version->first);
            EXPECT_EQ(v->minor, c.version->second);
        }
    }
}

TEST(StartUp, OperatingSystemIsIdentified)
{
    EXPECT_EQ(checkOperatingSystem(), SystemCheck::Supported);
}

TEST(StartUp, FirstFatalErrorIsShownAndEndsTheLoopWithExitCodeOne)
{
    qtApp();
    MessageBoxRecorder boxes;
    QPointer<MainWindow> window = new MainWindow;
    FatalErrorGuard::install(&window);
    QTimer::singleShot(0, [] {
        handleFatalError(std::make_exception_ptr(VideoArchiveException(QStringLiteral("壊れています"))));
        handleFatalError(std::make_exception_ptr(std::bad_alloc())); // the program is already ending
    });
    EXPECT_EQ(QCoreApplication::exec(), 1);
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, QStringLiteral("壊れています"));
    EXPECT_EQ(boxes.shown[0].captionId, 5018);
    EXPECT_EQ(boxes.shown[0].icon, MessageIcon::Error);
    EXPECT_EQ(boxes.shown[0].owner, nullptr);
    EXPECT_TRUE(FatalErrorGuard::failed());
    delete window.data();
}
