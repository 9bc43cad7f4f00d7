#include "DisplayTestKit.h"

#include "ui/panels/InfoPanel.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <memory>
#include <set>

using namespace display_test;

namespace {

// 2010-01-01 00:00:00 in Japan (UTC+9, no daylight saving).
constexpr std::int64_t kNewYear2010 = 1262271600;

struct GlyphPicture {
    QChar character;
    QImage picture;
};
using GlyphFont = std::vector<GlyphPicture>;

GlyphFont fontOf(std::initializer_list<std::pair<char16_t, int>> resources)
{
    GlyphFont font;
    for (const auto& [c, id] : resources)
        font.push_back({QChar(c), pictureOf(AlphaImage(id))});
    return font;
}

const GlyphFont& smallFont()
{
    static const GlyphFont font = fontOf({{u'0', 225}, {u'1', 226}, {u'2', 227}, {u'3', 228}, {u'4', 229},
                                          {u'5', 230}, {u'6', 231}, {u'7', 232}, {u'8', 233}, {u'9', 234},
                                          {u'-', 235}, {u'/', 224}});
    return font;
}

const GlyphFont& largeFont()
{
    static const GlyphFont font = fontOf({{u'0', 251}, {u'1', 252}, {u'2', 253}, {u'3', 254}, {u'4', 255},
                                          {u'5', 256}, {u'6', 257}, {u'7', 258}, {u'8', 259}, {u'9', 260},
                                          {u'-', 250}, {u':', 261}});
    return font;
}

// Reads `count` glyphs back from the screen, left to right from `at`, each
// cell as wide as the glyph found in it; "?" where no glyph matches.
QString readGlyphs(const QImage& screen, QPoint at, const GlyphFont& font, int count)
{
    QString text;
    int x = at.x();
    for (int i = 0; i < count; ++i) {
        const GlyphPicture* found = nullptr;
        for (const GlyphPicture& g : font)
            if (screen.copy(x, at.y(), g.picture.width(), g.picture.height()) == g.picture)
                found = &g;
        if (!found)
            return text + u'?';
        text += found->character;
        x += found->picture.width();
    }
    return text;
}

class InfoPanelTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        qtApp();
        setenv("TZ", "Asia/Tokyo", 1);
        tzset();
    }

    InfoPanelTest() : panel(nullptr, std::make_unique<FakeShownRecording>(shown)) { panel.resize(209, 180); }

    QString shownDate() { return readGlyphs(grabOf(panel), InfoPanel::kDateAt, smallFont(), 10); }
    QString shownTime() { return readGlyphs(grabOf(panel), InfoPanel::kTimeAt, largeFont(), 8); }

    ShownState shown;
    InfoPanel panel;
};

TEST(GlyphPictures, EveryCharacterHasItsOwnPicture)
{
    qtApp();
    for (const GlyphFont* font : {&smallFont(), &largeFont()}) {
        std::set<QString> seen;
        for (const GlyphPicture& g : *font) {
            ASSERT_FALSE(g.picture.isNull()) << int(g.character.unicode());
            const QByteArray bytes(reinterpret_cast<const char*>(g.picture.constBits()), g.picture.sizeInBytes());
            EXPECT_TRUE(seen.insert(QString::fromLatin1(bytes.toBase64())).second) << "same picture as another: "
                                                                                    << QString(g.character).toStdString();
        }
    }
}

TEST_F(InfoPanelTest, NothingOpenShowsDashesOverTheBackground)
{
    EXPECT_EQ(shownDate(), u"----/--/--"_qs);
    EXPECT_EQ(shownTime(), u"--:--:--"_qs);
    // Everything but the two glyph strips is the background picture.
    const QImage screen = grabOf(panel);
    const QImage background = pictureOf(AlphaImage(10026));
    const QRect dateStrip(InfoPanel::kDateAt, QSize(90, 12));
    const QRect timeStrip(InfoPanel::kTimeAt, QSize(168, 31));
    for (int y = 0; y < 180; ++y)
        for (int x = 0; x < 209; ++x)
            if (!dateStrip.contains(x, y) && !timeStrip.contains(x, y)) {
                ASSERT_EQ(screen.pixel(x, y), background.pixel(x, y)) << x << "," << y;
            }
}

TEST_F(InfoPanelTest, ShowsTheLocalDateAndTimeOfTheFrameOnScreen)
{
    FakeVideoInfo info;
    info.frames = {FakeVideoInfo::at(kNewYear2010), FakeVideoInfo::at(0), std::nullopt,
                   FakeVideoInfo::at(kNewYear2010 + 86399), FakeVideoInfo::at(1795475742)};
    shown.info = &info;
    const struct {
        int frame;
        const char16_t* date;
        const char16_t* time;
    } cases[] = {
        {0, u"2010/01/01", u"00:00:00"},
        {1, u"----/--/--", u"--:--:--"}, // a frame without a time
        {2, u"----/--/--", u"--:--:--"}, // a slot without a record
        {3, u"2010/01/01", u"23:59:59"},
        {4, u"2026/11/24", u"08:15:42"},
        {5, u"----/--/--", u"--:--:--"}, // past the end
        {-1, u"----/--/--", u"--:--:--"},
    };
    for (const auto& c : cases) {
        shown.frame = c.frame;
        EXPECT_EQ(shownDate(), QString::fromUtf16(c.date)) << "frame " << c.frame;
        EXPECT_EQ(shownTime(), QString::fromUtf16(c.time)) << "frame " << c.frame;
    }
}

TEST_F(InfoPanelTest, MissingInformationShowsTheNoticeInBlueInsideItsBox)
{
    FakeVideoInfo info;
    info.frames = {FakeVideoInfo::at(kNewYear2010)};
    info.informationMissing = true;
    shown.info = &info;

    const QImage screen = grabOf(panel);
    const QImage background = pictureOf(AlphaImage(10026));
    int blue = 0;
    for (int y = 0; y < 180; ++y)
        for (int x = 0; x < 209; ++x) {
            const QRgb p = screen.pixel(x, y);
            if (!InfoPanel::kNoticeBox.contains(x, y)) {
                ASSERT_EQ(p, background.pixel(x, y)) << x << "," << y;
            } else if (p != background.pixel(x, y)) {
                // Smoothed edges of blue letters on the black display.
                ASSERT_EQ(qRed(p) | qGreen(p), 0) << x << "," << y;
                blue += qBlue(p) >= 128;
            }
        }
    EXPECT_GT(blue, 100); // several wrapped lines of text
    EXPECT_TRUE(readGlyphs(screen, InfoPanel::kTimeAt, largeFont(), 1).endsWith(u'?'));
}

TEST(ReadoutTexts, ConvertsLocalTimesAndRefusesTheRest)
{
    setenv("TZ", "Asia/Tokyo", 1);
    tzset();
    const struct {
        std::int64_t seconds;
        const char16_t* date;
        const char16_t* time;
    } cases[] = {
        {kNewYear2010, u"2010/01/01", u"00:00:00"},
        {kNewYear2010 - 1, u"2009/12/31", u"23:59:59"},
        {1, u"1970/01/01", u"09:00:01"},
        {0, u"----/--/--", u"--:--:--"},
        {-86400, u"----/--/--", u"--:--:--"},
        {INT64_MAX, u"----/--/--", u"--:--:--"}, // beyond the calendar
    };
    for (const auto& c : cases) {
        const ReadoutTexts texts = ReadoutTexts::of(c.seconds);
        EXPECT_EQ(texts.date, QString::fromUtf16(c.date)) << c.seconds;
        EXPECT_EQ(texts.time, QString::fromUtf16(c.time)) << c.seconds;
    }
}

} // namespace
