#include "PanelTestKit.h"

#include "device/dialogs/DataFileChooser.h"
#include "ui/controls/ImageButton.h"
#include "ui/controls/ImageTrackBar.h"
#include "ui/controls/TrackToolTip.h"
#include "ui/panels/ConfigPanel.h"

#include <QLocale>
#include <QPainter>
#include <clocale>

using namespace panels_test;

namespace {

class ConfigPanelTest : public PanelTest {
protected:
    ConfigPanel& panel() { return *window.configPanel(); }
    ImageTrackBar& volume() { return *panel().volumeBar(); }
    ImageTrackBar& brightness() { return *panel().brightnessBar(); }

    std::vector<Window*> fiveControls()
    {
        return {panel().volumeResetButton(), &volume(), panel().brightnessResetButton(), &brightness(),
                panel().openFileButton()};
    }
};

TEST_F(ConfigPanelTest, StartsAtTheStandardValuesInItsPlaces)
{
    EXPECT_EQ(volume().minimum(), 0);
    EXPECT_EQ(volume().maximum(), 16);
    EXPECT_EQ(volume().value(), 16);
    EXPECT_EQ(brightness().minimum(), 1);
    EXPECT_EQ(brightness().maximum(), 50);
    EXPECT_EQ(brightness().value(), 12);
    EXPECT_EQ(player().sound().volume(), 16);
    EXPECT_DOUBLE_EQ(player().gamma().gamma(), 1.2);

    EXPECT_EQ(volume().geometry(), QRect(40, 22, 151, 16));
    EXPECT_EQ(brightness().geometry(), QRect(40, 56, 151, 16));
    EXPECT_EQ(panel().volumeResetButton()->geometry(), QRect(14, 22, 17, 15));
    EXPECT_EQ(panel().brightnessResetButton()->geometry(), QRect(14, 56, 16, 16));
    EXPECT_EQ(panel().openFileButton()->geometry(), QRect(57, 97, 102, 28));

    const TrackToolTip& tips = *panel().tips();
    EXPECT_EQ(tips.toolText(panel().volumeResetButton()), u"標準の音量"_qs);
    EXPECT_EQ(tips.toolText(panel().brightnessResetButton()), u"標準の明るさ"_qs);
    EXPECT_EQ(tips.toolText(panel().openFileButton()), u"ファイルを開く"_qs);
    EXPECT_EQ(tips.toolText(&volume()), QStringLiteral("16"));
    EXPECT_EQ(tips.toolText(&brightness()), QStringLiteral("1.2"));
}

// The gamma is a tenth of the slider value and its tip shows one decimal
// with a point, whatever the locale.
TEST_F(ConfigPanelTest, BrightnessSetsTheGammaAndItsTip)
{
    const QLocale previousLocale;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    std::setlocale(LC_NUMERIC, "de_DE.UTF-8"); // where installed
    const struct {
        int value;
        double gamma;
        const char* tip;
    } cases[] = {{1, 0.1, "0.1"}, {7, 0.7, "0.7"}, {12, 1.2, "1.2"}, {25, 2.5, "2.5"}, {50, 5.0, "5.0"}, {99, 5.0, "5.0"}};
    for (const auto& c : cases) {
        brightness().setValue(c.value, true);
        EXPECT_DOUBLE_EQ(player().gamma().gamma(), c.gamma) << c.value;
        EXPECT_EQ(brightness().label(), QString::fromLatin1(c.tip)) << c.value;
    }
    std::setlocale(LC_NUMERIC, "C");
    QLocale::setDefault(previousLocale);
}

TEST_F(ConfigPanelTest, VolumeGoesToTheSoundAndItsTipIsDecimal)
{
    for (const int value : {0, 3, 16}) {
        volume().setValue(value, true);
        EXPECT_EQ(player().sound().volume(), value);
        EXPECT_EQ(volume().label(), QString::number(value));
    }

    // While the thumb is held its tip shows the value under it.
    press(volume(), {0, 8});
    EXPECT_EQ(volume().value(), 0);
    EXPECT_EQ(panel().tips()->trackedControl(), &volume());
    EXPECT_EQ(panel().tips()->toolText(&volume()), QStringLiteral("0"));
    EXPECT_EQ(player().sound().volume(), 0);
    moveTo(volume(), {150, 8});
    EXPECT_EQ(panel().tips()->toolText(&volume()), QStringLiteral("16"));
    release(volume(), {150, 8});
    EXPECT_EQ(panel().tips()->trackedControl(), nullptr);
    EXPECT_EQ(player().sound().volume(), 16);
}

TEST_F(ConfigPanelTest, ResetButtonsBringBackTheStandardValues)
{
    volume().setValue(2, true);
    brightness().setValue(40, true);
    click(*panel().volumeResetButton());
    EXPECT_EQ(volume().value(), 16);
    EXPECT_EQ(player().sound().volume(), 16);
    EXPECT_DOUBLE_EQ(player().gamma().gamma(), 4.0) << "only the volume";
    click(*panel().brightnessResetButton());
    EXPECT_EQ(brightness().value(), 12);
    EXPECT_DOUBLE_EQ(player().gamma().gamma(), 1.2);
}

// The reset buttons are bare pictures under the hand cursor; the open-file
// button keeps its frame.
TEST_F(ConfigPanelTest, ResetButtonsHaveTheHandCursorAndNoFrame)
{
    const struct {
        ImageButton* button;
        int picture;
    } resets[] = {{panel().volumeResetButton(), 290}, {panel().brightnessResetButton(), 289}};
    for (const auto& r : resets) {
        EXPECT_TRUE(r.button->testAttribute(Qt::WA_SetCursor));
        EXPECT_EQ(r.button->cursor().shape(), Qt::PointingHandCursor);
        QImage expected(r.button->size(), QImage::Format_RGB32);
        {
            QPainter painter(&expected);
            AlphaImage(r.picture).drawStretched(painter, 0, 0, expected.width(), expected.height());
        }
        EXPECT_EQ(r.button->grab().toImage().convertToFormat(QImage::Format_RGB32), expected) << r.picture;
    }
    EXPECT_FALSE(panel().openFileButton()->testAttribute(Qt::WA_SetCursor));
}

TEST_F(ConfigPanelTest, OpenFileButtonRunsTheOpenCommand)
{
    std::vector<QWidget*> askedBy;
    const DataFileChooserPresenter previous =
        setDataFileChooserPresenter([&](QWidget* owner, const QString&) -> std::optional<QString> {
            askedBy.push_back(owner);
            return std::nullopt;
        });
    const QString path = dir.file("0001_001.DAT");
    writeRecording(path, {2009, 5, 2, 10, 0, 0}, 10);
    openInFolder(path);
    player().playFrom(0);

    click(*panel().openFileButton());
    EXPECT_EQ(askedBy, std::vector<QWidget*>{&window});
    EXPECT_EQ(player().state(), VideoPlayer::Paused) << "the open command pauses playback first";
    setDataFileChooserPresenter(previous);
}

TEST_F(ConfigPanelTest, EnablingAllOrOnlyTheVolume)
{
    panel().setAllEnabled(false);
    for (Window* control : fiveControls())
        EXPECT_FALSE(control->isOwnEnabled());
    panel().setVolumeEnabled(true);
    EXPECT_TRUE(panel().volumeResetButton()->isOwnEnabled());
    EXPECT_TRUE(volume().isOwnEnabled());
    EXPECT_FALSE(panel().brightnessResetButton()->isOwnEnabled());
    EXPECT_FALSE(brightness().isOwnEnabled());
    EXPECT_FALSE(panel().openFileButton()->isOwnEnabled());
    panel().setAllEnabled(true);
    for (Window* control : fiveControls())
        EXPECT_TRUE(control->isOwnEnabled());
}

} // namespace
