#pragma once

#include "imaging/ResourceImages.h"
#include "ui/framework/Window.h"
#include "ui/panels/ShownRecording.h"

#include <QPoint>
#include <QRect>
#include <QString>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <utility>
#include <vector>

class VideoPlayer;

// Pictures of characters, drawn side by side like a font. The pictures are
// decoded once, when the set is made.
class GlyphSet {
public:
    struct Glyph {
        char16_t character;
        int resource;
    };
    explicit GlyphSet(std::initializer_list<Glyph> glyphs);

    // The picture of `character`, or null when the set has none.
    const AlphaImage* glyph(QChar character) const;
    // Draws the characters that have a picture, each advancing by its own
    // width (0 for a picture that did not decode); others are skipped.
    // Returns the width drawn.
    int draw(QPainter& painter, const QString& text, int x, int y) const;

private:
    std::vector<std::pair<QChar, std::unique_ptr<AlphaImage>>> glyphs_;
};

// The date and the time of day of a recording time, in local time, or
// dashes when there is no time (0) or it cannot be converted.
struct ReadoutTexts {
    QString date; // "%04d/%02d/%02d"
    QString time; // "%02d:%02d:%02d"

    static ReadoutTexts of(std::int64_t seconds);
};

// The date and time readout at the top of the right column. It keeps no
// state: every paint reads the open recording and the frame on screen.
class InfoPanel : public Window {
public:
    static constexpr QPoint kDateAt{62, 80};
    static constexpr QPoint kTimeAt{20, 105};
    // Where the notice about missing information is wrapped.
    static constexpr QRect kNoticeBox{35, 70, 135, 90};
    static constexpr QRgb kNoticeColour = 0xFF0000FF; // pure blue

    InfoPanel(QWidget* parent, const VideoPlayer& player);
    InfoPanel(QWidget* parent, std::unique_ptr<IShownRecording> shown);

protected:
    bool handleMessage(QEvent* event) override;

private:
    void paintInfo(QPainter& painter);

    std::unique_ptr<IShownRecording> shown_;
    AlphaImage background_{10026};
    GlyphSet smallGlyphs_;
    GlyphSet largeGlyphs_;
};
