#pragma once

#include <QImage>

class SkinBook;

// Each function draws one part of the interface into the book.

void drawStartLogo(SkinBook& book);
void drawWindowEdges(SkinBook& book);     // right column gap, left edge strip
void drawInfoPanel(SkinBook& book);       // background and both digit sets
void drawChartFrame(SkinBook& book);
void drawTransportPanel(SkinBook& book);  // backgrounds and the six buttons
void drawPositionSlider(SkinBook& book);  // tracks, thumb, event mark
void drawPictureSoundPanel(SkinBook& book);
void drawThumbnailStrip(SkinBook& book);

// The program icon at one of its sizes (square).
QImage drawProgramIcon(int size);
