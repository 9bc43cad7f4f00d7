#include "DisplayTestKit.h"

#include "errors/Exception.h"
#include "support/UiRecorders.h"
#include "ui/about/AboutDialog.h"
#include "ui/about/HelpPage.h"
#include "ui/about/Label.h"
#include "ui/about/LinkLabel.h"
#include "ui/about/UrlOpener.h"
#include "ui/about/VersionText.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QTimer>
#include <QUrl>

#include <optional>
#include <vector>

using namespace display_test;

namespace {

TEST(VersionText, DigitsOfTheFirstThreePartsJoinedByDots)
{
    const struct {
        std::optional<QString> fileVersion;
        QString text;
    } cases[] = {
        {u"1, 0, 2, 0"_qs, u"1.0.2"_qs},
        {u"12, 3, 45, 6"_qs, u"12.3.45"_qs},
        {u"1,0,2,0,9"_qs, u"1.0.2"_qs},
        {u"1, 0"_qs, u"1.0"_qs},
        {u"7"_qs, u"7"_qs},
        {u"v1.2 beta, 3"_qs, u"12.3"_qs}, // only digits and commas count
        {u",,,5"_qs, u".."_qs},
        {u""_qs, u""_qs},
        {std::nullopt, u"バージョン情報がありません"_qs},
    };
    for (const auto& c : cases)
        EXPECT_EQ(versionTextOf(c.fileVersion), c.text) << c.fileVersion.value_or(u"(none)"_qs).toStdString();
    EXPECT_EQ(fileVersionText(), u"1.0.0"_qs); // the build's own version
}

TEST(LabelAlignment, TextPlacedByTheNineCells)
{
    const QSize client(100, 20);
    const QSize text(30, 10);
    const struct {
        int alignment;
        QPoint origin;
    } cases[] = {
        {0, {0, 0}},  {1, {35, 0}},  {2, {70, 0}},  {3, {0, 5}},  {4, {35, 5}},
        {5, {70, 5}}, {6, {0, 10}},  {7, {35, 10}}, {8, {70, 10}}, {9, {0, 0}}, {-1, {0, 0}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(labelTextOrigin(c.alignment, client, text), c.origin) << c.alignment;
    // A text wider than the control starts left of it; odd differences truncate toward zero.
    EXPECT_EQ(labelTextOrigin(BottomRight, {100, 20}, {130, 25}), QPoint(-30, -5));
    EXPECT_EQ(labelTextOrigin(Middle, {100, 20}, {131, 25}), QPoint(-15, -2));
    EXPECT_EQ(labelTextOrigin(Middle, {101, 21}, {30, 10}), QPoint(35, 5));
}

// The rectangle of the pixels that differ from the button face.
QRect inkOf(const QImage& screen, QRgb face)
{
    QRect ink;
    for (int y = 0; y < screen.height(); ++y)
        for (int x = 0; x < screen.width(); ++x)
            if (screen.pixel(x, y) != face)
                ink |= QRect(x, y, 1, 1);
    return ink;
}

class LabelTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { qtApp(); }
    QRgb face() const { return QApplication::palette().color(QPalette::Button).rgb(); }
};

TEST_F(LabelTest, PlacesTextMeasuredInTheFontItIsDrawnIn)
{
    Label label(nullptr);
    label.resize(300, 80);
    QFont big = label.font();
    big.setPixelSize(40);
    label.setFont(big);
    label.setText(u"WWW"_qs);

    label.setAlignment(BottomRight);
    const QRect right = inkOf(grabOf(label), face());
    ASSERT_TRUE(right.isValid());
    EXPECT_LE(right.right(), 299);
    EXPECT_GE(right.right(), 290); // ends at the right edge, not short of it or past it

    label.setAlignment(TopLeft);
    const QRect left = inkOf(grabOf(label), face());
    EXPECT_LE(left.left(), 5);
    EXPECT_EQ(left.width(), right.width());

    label.setAlignment(Middle);
    const QRect centred = inkOf(grabOf(label), face());
    EXPECT_NEAR(centred.center().x(), 150, 3);
}

TEST_F(LabelTest, DisabledTextIsGreyedNotInItsColour)
{
    Label label(nullptr);
    label.resize(200, 30);
    QFont big = label.font();
    big.setPixelSize(20);
    label.setFont(big);
    label.setText(u"Support"_qs);
    label.setTextColour(QColor(0, 0, 255));

    auto count = [&](QRgb colour) {
        const QImage screen = grabOf(label);
        int n = 0;
        for (int y = 0; y < screen.height(); ++y)
            for (int x = 0; x < screen.width(); ++x)
                n += screen.pixel(x, y) == colour;
        return n;
    };
    auto countGrey = [&] {
        const QImage screen = grabOf(label);
        int n = 0;
        for (int y = 0; y < screen.height(); ++y)
            for (int x = 0; x < screen.width(); ++x) {
                const QRgb p = screen.pixel(x, y);
                n += p != face() && qRed(p) == qBlue(p) && qGreen(p) == qBlue(p);
            }
        return n;
    };
    const QRgb blue = qRgb(0, 0, 255);
    EXPECT_GT(count(blue), 20);
    label.setEnabled(false);
    EXPECT_EQ(count(blue), 0);
    EXPECT_GT(countGrey(), 20);
}

TEST_F(LabelTest, APictureIsCentredInsteadOfTheText)
{
    Label label(nullptr);
    label.resize(31, 40);
    label.setText(u"hidden"_qs);
    label.setImage(std::make_unique<AlphaImage>(224)); // 9 x 12
    const QRect ink = inkOf(grabOf(label), face());
    const QImage glyph = pictureOf(AlphaImage(224));
    EXPECT_EQ(grabOf(label).copy(11, 14, 9, 12), glyph);
    EXPECT_TRUE(QRect(11, 14, 9, 12).contains(ink));
}

// Records the addresses handed to the desktop instead of opening them.
class OpenedUrls {
public:
    explicit OpenedUrls(bool accept = true)
    {
        previous_ = setUrlOpener([this, accept](const QUrl& url) {
            urls.push_back(url);
            return accept;
        });
    }
    ~OpenedUrls() { setUrlOpener(std::move(previous_)); }
    std::vector<QUrl> urls;

private:
    UrlOpener previous_;
};

TEST(HelpPage, CopiedIntoAFreshFolderAndOpened)
{
    qtApp();
    OpenedUrls opened;
    showHelp();
    showHelp();
    ASSERT_EQ(opened.urls.size(), 2u);
    std::vector<QDir> folders;
    for (const QUrl& url : opened.urls) {
        ASSERT_TRUE(url.isLocalFile());
        const QFileInfo page(url.toLocalFile());
        EXPECT_EQ(page.fileName(), u"22100.html"_qs);
        QFile file(page.filePath());
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_TRUE(QString::fromUtf8(file.readAll()).contains(u"KVR-M48C 操作方法"_qs));
        folders.push_back(page.dir());
        // Every picture the program carries sits beside the page under its number.
        for (int id = HelpPage::kFirstPicture; id <= HelpPage::kLastPicture; ++id)
            EXPECT_EQ(QFile::exists(page.dir().filePath(QString::number(id))),
                      QFile::exists(QStringLiteral(":/HTML/%1").arg(id)))
                << id;
    }
    EXPECT_NE(folders[0].path(), folders[1].path());
    for (QDir& folder : folders)
        folder.removeRecursively();
}

TEST(HelpPage, RefusedByTheDesktopRaisesAndLeavesNoFolder)
{
    qtApp();
    OpenedUrls refused(false);
    EXPECT_THROW(showHelp(), WindowException);
    ASSERT_EQ(refused.urls.size(), 1u);
    EXPECT_FALSE(QFileInfo(refused.urls[0].toLocalFile()).dir().exists());
}

TEST(SupportPage, WithoutAnAddressNothingIsOpened)
{
    qtApp();
    OpenedUrls opened;
    EXPECT_THROW(openSupportPage(), WindowException);

    // A click on the link swallows the failure.
    LinkLabel link(nullptr, u"support"_qs);
    link.resize(100, 20);
    QMouseEvent up(QEvent::MouseButtonRelease, QPointF(5, 5), QPointF(5, 5), Qt::LeftButton, Qt::NoButton,
                   Qt::NoModifier);
    EXPECT_NO_THROW(QApplication::sendEvent(&link, &up));
    EXPECT_TRUE(opened.urls.empty());
    EXPECT_EQ(link.textColour(), QColor(0, 0, 255));
    EXPECT_TRUE(link.font().underline());
    EXPECT_EQ(link.alignment(), MiddleLeft);
    EXPECT_EQ(link.cursor().shape(), Qt::PointingHandCursor);
}

TEST(AboutDialog, ShowsProductAndVersionAndEndsWithOk)
{
    qtApp();
    MessageBoxRecorder boxes;
    QWidget owner;
    owner.resize(800, 600);
    owner.show();
    AboutDialog dialog;
    QString product, version, rights;
    bool linkHidden = false;
    QTimer::singleShot(0, &dialog, [&] {
        product = dialog.findChild<QLabel*>(u"1053"_qs)->text();
        version = dialog.findChild<QLabel*>(u"1035"_qs)->text();
        rights = dialog.findChild<QLabel*>(u"1037"_qs)->text();
        linkHidden = dialog.findChild<LinkLabel*>(u"1038"_qs)->isHidden();
        dialog.findChild<QPushButton*>(u"1"_qs)->click();
    });
    EXPECT_EQ(dialog.runModal(&owner), Dialog::kOk);
    EXPECT_EQ(product, u"KVR-M48C"_qs);
    EXPECT_EQ(version, u"Version 1.0.0"_qs);
    EXPECT_FALSE(rights.isEmpty());
    EXPECT_TRUE(linkHidden);
    EXPECT_EQ(dialog.windowTitle(), u"バージョン情報"_qs);
    EXPECT_TRUE(boxes.shown.empty());
}

TEST(AboutDialog, EscapeEndsWithCancel)
{
    qtApp();
    AboutDialog dialog;
    QTimer::singleShot(0, &dialog, [&] { dialog.reject(); });
    EXPECT_EQ(dialog.runModal(nullptr), Dialog::kCancel);
}

} // namespace
