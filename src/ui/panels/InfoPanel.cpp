#include "ui/panels/InfoPanel.h"

#include "recording/VideoInfo.h"
#include "text/TextTable.h"
#include "ui/framework/SystemColours.h"

#include <QPainter>
#include <ctime>

GlyphSet::GlyphSet(std::initializer_list<Glyph> glyphs)
{
    glyphs_.reserve(glyphs.size());
    for (const Glyph& g : glyphs)
        glyphs_.emplace_back(QChar(g.character), std::make_unique<AlphaImage>(g.resource));
}

const AlphaImage* GlyphSet::glyph(QChar character) const
{
    for (const auto& [c, picture] : glyphs_)
        if (c == character)
            return picture.get();
    return nullptr;
}

int GlyphSet::draw(QPainter& painter, const QString& text, int x, int y) const
{
    int advance = 0;
    for (const QChar c : text) {
        const AlphaImage* picture = glyph(c);
        if (!picture)
            continue;
        picture->drawAt(painter, x + advance, y);
        advance += picture->width();
    }
    return advance;
}

ReadoutTexts ReadoutTexts::of(std::int64_t seconds)
{
    // Negative times are refused like 0: the recorder's clock starts in 2000.
    const std::time_t t = static_cast<std::time_t>(seconds);
    std::tm local{};
    if (seconds <= 0 || !localtime_r(&t, &local))
        return {QStringLiteral("----/--/--"), QStringLiteral("--:--:--")};
    return {QString::asprintf("%04d/%02d/%02d", local.tm_year + 1900, local.tm_mon + 1, local.tm_mday),
            QString::asprintf("%02d:%02d:%02d", local.tm_hour, local.tm_min, local.tm_sec)};
}

namespace {

GlyphSet smallDigits()
{
    return GlyphSet{{u'0', 225}, {u'1', 226}, {u'2', 227}, {u'3', 228}, {u'4', 229}, {u'5', 230},
                    {u'6', 231}, {u'7', 232}, {u'8', 233}, {u'9', 234}, {u'-', 235}, {u'/', 224}};
}

GlyphSet largeDigits()
{
    return GlyphSet{{u'0', 251}, {u'1', 252}, {u'2', 253}, {u'3', 254}, {u'4', 255}, {u'5', 256},
                    {u'6', 257}, {u'7', 258}, {u'8', 259}, {u'9', 260}, {u'-', 250}, {u':', 261}};
}

} // namespace

InfoPanel::InfoPanel(QWidget* parent, const VideoPlayer& player)
    : InfoPanel(parent, std::make_unique<PlayerShownRecording>(player))
{
}

InfoPanel::InfoPanel(QWidget* parent, std::unique_ptr<IShownRecording> shown)
    : Window(parent), shown_(std::move(shown)), smallGlyphs_(smallDigits()), largeGlyphs_(largeDigits())
{
}

bool InfoPanel::handleMessage(QEvent* event)
{
    if (event->type() == QEvent::Paint) {
        QPainter painter(this);
        drawBackgroundOrFill(painter, background_, rect());
        paintInfo(painter);
        return true;
    }
    return Window::handleMessage(event);
}

void InfoPanel::paintInfo(QPainter& painter)
{
    const IVideoInfo* info = shown_->info();
    if (info && info->isInformationMissing()) {
        painter.setPen(QColor::fromRgb(kNoticeColour));
        painter.drawText(kNoticeBox, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap,
                         resourceText(TextId::InformationMissing));
        return;
    }
    const FrameRecord* record = info ? info->frameAt(shown_->currentFrame()) : nullptr;
    const ReadoutTexts texts = ReadoutTexts::of(record ? record->time : 0);
    smallGlyphs_.draw(painter, texts.date, kDateAt.x(), kDateAt.y());
    largeGlyphs_.draw(painter, texts.time, kTimeAt.x(), kTimeAt.y());
}
