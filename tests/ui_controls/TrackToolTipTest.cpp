#include "ControlTestKit.h"

#include "ui/controls/TrackToolTip.h"

using namespace controls_test;

namespace {

class TrackToolTipTest : public ControlTest {};

TEST_F(TrackToolTipTest, ButtonTipsAreTheButtonsOwnAndTakeNewText)
{
    TrackToolTip tips(&parent);
    ImageButton button(&parent, 0, 0, 22, 22);
    tips.addButtonTool(QStringLiteral("コマ送り"), &button);
    EXPECT_EQ(button.toolTip(), QStringLiteral("コマ送り"));
    tips.setText(&button, QStringLiteral("次へ"));
    EXPECT_EQ(button.toolTip(), QStringLiteral("次へ"));
    tips.showTracking(&button, QStringLiteral("x")); // not a tracking tool
    EXPECT_FALSE(tips.isVisible());
}

TEST_F(TrackToolTipTest, OnlyRegisteredTrackingToolsShowAndTheyAreForgottenWhenDestroyed)
{
    TrackToolTip tips(&parent);
    ImageTrackBar stranger(&parent, 0, 0, 100, 10);
    tips.showTracking(&stranger, QStringLiteral("12"));
    EXPECT_FALSE(tips.isVisible());
    tips.setText(&stranger, QStringLiteral("13"));
    EXPECT_EQ(tips.toolText(&stranger), QString());

    auto bar = std::make_unique<ImageTrackBar>(&parent, 0, 20, 100, 10);
    EXPECT_EQ(bar->label(), QStringLiteral("0"));
    tips.addTrackingTool(bar.get(), bar->label());
    tips.setTrackPosition(QPoint(40, 50));
    tips.showTracking(bar.get(), QStringLiteral("16"));
    ASSERT_TRUE(tips.isVisible());
    EXPECT_EQ(tips.pos(), QPoint(40, 50));
    EXPECT_EQ(tips.toolText(bar.get()), QStringLiteral("16"));
    tips.hideTracking(&stranger); // another control's tip stays
    EXPECT_TRUE(tips.isVisible());

    const QWidget* gone = bar.get();
    bar.reset();
    EXPECT_FALSE(tips.isVisible());
    EXPECT_EQ(tips.trackedControl(), nullptr);
    EXPECT_EQ(tips.toolText(gone), QString());
}

} // namespace
