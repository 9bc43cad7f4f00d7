#pragma once

#include "imaging/ResourceImages.h"
#include "ui/framework/Window.h"

#include <memory>

class ImageButtonListener;
class QKeyEvent;
class QMouseEvent;

// The pictures of a button: normal always, pressed and disabled optional.
struct ButtonImages {
    std::unique_ptr<AlphaImage> normal;
    std::unique_ptr<AlphaImage> pressed;
    std::unique_ptr<AlphaImage> disabled;
};

// A push button drawn from pictures, repeating `pressed` every 100 ms while
// held. It is held from a left press (or Enter) on it until the release, or
// until it loses the press (hidden, disabled, blocked by a modal window).
// The owner sets the cursor with QWidget::setCursor.
class ImageButton : public Window {
public:
    static constexpr int kRepeatTimer = 0;
    static constexpr int kRepeatIntervalMs = 100;

    ImageButton(QWidget* parent, int x, int y, int width, int height);
    ~ImageButton() override;

    // Loads the normal picture, and the pressed and disabled ones when their
    // id is not 0. Raises WindowException for a missing resource and then
    // keeps the pictures it had.
    void setImages(int normalId, int pressedId, int disabledId);
    void setImages(ButtonImages images);

    void setListener(ImageButtonListener* listener) { listener_ = listener; }
    // Draw a 3-D edge, and without a pressed picture shift the picture down
    // one pixel while held. On at construction.
    void setDrawFrame(bool drawFrame) { drawFrame_ = drawFrame; }
    bool isDown() const { return hold_ != Hold::None; }

protected:
    bool handleMessage(QEvent* event) override;
    void onTimer(int id) override;

    ButtonImages& shownImages() { return images_; }

private:
    enum class Hold { None, Mouse, Key };

    void press(Hold how);
    void releaseMouse(const QMouseEvent& event);
    void releaseKey();
    void interrupt();
    void repaintIfLookChanges();
    void paint();
    static bool isEnter(const QKeyEvent& event);

    ImageButtonListener* listener_ = nullptr;
    ButtonImages images_;
    bool drawFrame_ = true;
    Hold hold_ = Hold::None;
};
