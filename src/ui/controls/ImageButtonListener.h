#pragma once

class ImageButton;

// What a skinned button tells its owner. The argument identifies the button,
// so one listener serves several buttons by comparing pointers.
class ImageButtonListener {
public:
    virtual ~ImageButtonListener() = default;
    // The press ended over the button (or Enter was released) after it
    // started on the button.
    virtual void clicked(ImageButton* button) = 0;
    // The button went down, and again every 100 ms while it is held.
    virtual void pressed(ImageButton* button) = 0;
};
