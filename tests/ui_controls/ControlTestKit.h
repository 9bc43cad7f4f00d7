#pragma once

#include "imaging/Image.h"
#include "imaging/ResourceImages.h"
#include "support/QtApp.h"
#include "support/UiRecorders.h"
#include "ui/controls/ImageButton.h"
#include "ui/controls/ImageButtonListener.h"
#include "ui/controls/ImageTrackBar.h"
#include "ui/controls/ImageTrackBarListener.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace controls_test {

// A picture whose pixel (x, y), counted from the top, has red `red`, blue
// x (its column) and green y, so that a grab shows which picture and which
// source column landed where.
inline std::unique_ptr<AlphaImage> columnPicture(int width, int height, int red)
{
    auto image = Image::create(width, height);
    for (int y = 0; y < height; ++y) {
        std::uint8_t* row = image->memoryRow(height - 1 - y); // bottom-up
        for (int x = 0; x < width; ++x) {
            row[x * 4 + 0] = static_cast<std::uint8_t>(x);
            row[x * 4 + 1] = static_cast<std::uint8_t>(y);
            row[x * 4 + 2] = static_cast<std::uint8_t>(red);
        }
    }
    return std::make_unique<AlphaImage>(std::move(image));
}

inline QImage grabOf(QWidget& widget)
{
    return widget.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

inline QRgb buttonFace(const QWidget& widget)
{
    return widget.palette().color(QPalette::Button).rgb();
}

inline void sendMouse(QWidget& widget, QEvent::Type type, QPoint at, Qt::MouseButton button = Qt::LeftButton)
{
    const Qt::MouseButton changed = type == QEvent::MouseMove ? Qt::NoButton : button;
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button);
    QMouseEvent event(type, QPointF(at), widget.mapToGlobal(QPointF(at)), changed, held, Qt::NoModifier);
    QApplication::sendEvent(&widget, &event);
}

inline void press(QWidget& w, QPoint at) { sendMouse(w, QEvent::MouseButtonPress, at); }
inline void moveTo(QWidget& w, QPoint at) { sendMouse(w, QEvent::MouseMove, at); }
inline void release(QWidget& w, QPoint at) { sendMouse(w, QEvent::MouseButtonRelease, at); }

inline void sendKey(QWidget& widget, QEvent::Type type, int key, bool autoRepeat = false)
{
    QKeyEvent event(type, key, Qt::NoModifier, QString(), autoRepeat);
    QApplication::sendEvent(&widget, &event);
}

inline void sendPlain(QWidget& widget, QEvent::Type type)
{
    QEvent event(type);
    QApplication::sendEvent(&widget, &event);
}

// Records what the controls report, in order. A slider's calls carry the
// value it holds at that moment; a button's whether it is down.
class CallLog : public ImageButtonListener, public ImageTrackBarListener {
public:
    void clicked(ImageButton* b) override { record(std::string("clicked") + (b->isDown() ? " down" : "")); }
    void pressed(ImageButton* b) override { record(std::string("pressed") + (b->isDown() ? " down" : "")); }
    void valueChanged(ImageTrackBar* bar) override { record("valueChanged " + std::to_string(bar->value())); }
    void trackStarted(ImageTrackBar* bar) override { record("trackStarted " + std::to_string(bar->value())); }
    void trackEnded(ImageTrackBar* bar) override { record("trackEnded " + std::to_string(bar->value())); }

    std::vector<std::string> take() { return std::exchange(calls, {}); }

    std::vector<std::string> calls;
    // Runs after each call is recorded, e.g. to interrupt from inside a listener.
    std::function<void(const std::string&)> afterCall;

private:
    void record(std::string call)
    {
        calls.push_back(call);
        if (afterCall)
            afterCall(call);
    }
};

using Calls = std::vector<std::string>;

// The events by which a control loses a press in progress.
struct Interruption {
    const char* name;
    std::function<void(QWidget&)> apply;
};

inline std::vector<Interruption> interruptions()
{
    return {
        {"hidden", [](QWidget& w) { w.hide(); }},
        {"disabled", [](QWidget& w) { w.setEnabled(false); }},
        {"parent disabled", [](QWidget& w) { w.parentWidget()->setEnabled(false); }},
        {"window deactivated", [](QWidget& w) { sendPlain(w, QEvent::WindowDeactivate); }},
        {"window blocked by a modal one", [](QWidget& w) { sendPlain(w, QEvent::WindowBlocked); }},
    };
}

class ControlTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { qtApp(); }
    ManualTimers timers;
    FatalErrorRecorder fatal;
    QWidget parent;
    CallLog log;

    void TearDown() override { EXPECT_TRUE(FatalErrorRecorder::errors().empty()); }
};

} // namespace controls_test
