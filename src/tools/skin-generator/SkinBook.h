#pragma once

#include <QImage>
#include <QString>

#include <map>
#include <vector>

// One interface picture the viewer loads by number: the size its drawing
// code expects and what it is for.
struct PictureSlot {
    int id;
    int width;
    int height;
    const char* role;
};

// Every picture the viewer loads, in manifest order.
const std::vector<PictureSlot>& pictureSlots();

// Collects the drawn pictures and writes them out once all are present and
// each has exactly the size its slot demands.
class SkinBook {
public:
    void add(int id, const QImage& picture);
    const QImage& picture(int id) const;

    // Problems found, one line each; empty when every slot is filled correctly.
    QStringList problems() const;

    // Writes <id>.png (opaque RGB) for every slot and manifest.tsv.
    bool write(const QString& folder) const;

private:
    std::map<int, QImage> pictures_;
};
