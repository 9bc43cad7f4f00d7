#pragma once

#include "ui/framework/Window.h"

#include <QPoint>
#include <QString>
#include <map>

// The tips of a panel's controls. A button's tip shows when the mouse rests
// on it; a tracking tip is a small always-on-top popup that its control
// shows, moves and relabels itself while the mouse is held. Controls are
// registered per control and forgotten when they are destroyed.
class TrackToolTip : public Window {
public:
    // The popup belongs to `parent` and dies with it.
    explicit TrackToolTip(QWidget* parent);

    void addButtonTool(const QString& text, QWidget* button);
    void addTrackingTool(QWidget* control, const QString& text);
    // Shows the tip of a registered tracking control with `text` at the
    // last tracking position.
    void showTracking(QWidget* control, const QString& text);
    void hideTracking(QWidget* control);
    // New text for a registered control's tip.
    void setText(QWidget* control, const QString& text);
    // Top-left corner of the tracking tip, in screen coordinates.
    void setTrackPosition(const QPoint& screenPoint);

    // The control whose tracking tip is on screen, or null.
    const QWidget* trackedControl() const { return shownFor_; }
    QString toolText(const QWidget* control) const;

protected:
    bool handleMessage(QEvent* event) override;

private:
    struct Tool {
        bool tracking;
        QString text;
    };

    Tool* findTool(const QWidget* control);
    void addTool(QWidget* control, bool tracking, const QString& text);
    void forget(const QObject* control);
    void fitAndPlace();
    void paint();

    std::map<const QObject*, Tool> tools_;
    const QWidget* shownFor_ = nullptr;
    QPoint position_;
};
