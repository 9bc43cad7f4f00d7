#include "SkinBook.h"

#include <QDir>
#include <QFile>
#include <QTextStream>

#include <stdexcept>
#include <string>

const std::vector<PictureSlot>& pictureSlots()
{
    static const std::vector<PictureSlot> table = {
        {285, 280, 73, "start logo"},
        {218, 209, 20, "right column gap, top cap"},
        {219, 209, 120, "right column gap, tile repeated downwards"},
        {220, 209, 20, "right column gap, bottom cap"},
        {284, 21, 480, "left edge strip, stretched to the video height"},
        {10026, 209, 180, "information panel background"},
        {224, 9, 12, "small glyph /"},
        {225, 9, 12, "small glyph 0"},
        {226, 9, 12, "small glyph 1"},
        {227, 9, 12, "small glyph 2"},
        {228, 9, 12, "small glyph 3"},
        {229, 9, 12, "small glyph 4"},
        {230, 9, 12, "small glyph 5"},
        {231, 9, 12, "small glyph 6"},
        {232, 9, 12, "small glyph 7"},
        {233, 9, 12, "small glyph 8"},
        {234, 9, 12, "small glyph 9"},
        {235, 9, 12, "small glyph -"},
        {250, 21, 31, "large glyph -"},
        {251, 21, 31, "large glyph 0"},
        {252, 21, 31, "large glyph 1"},
        {253, 21, 31, "large glyph 2"},
        {254, 21, 31, "large glyph 3"},
        {255, 21, 31, "large glyph 4"},
        {256, 21, 31, "large glyph 5"},
        {257, 21, 31, "large glyph 6"},
        {258, 21, 31, "large glyph 7"},
        {259, 21, 31, "large glyph 8"},
        {260, 21, 31, "large glyph 9"},
        {261, 21, 31, "large glyph :"},
        {359, 40, 90, "chart frame, left end"},
        {360, 20, 90, "chart frame, middle, stretched across"},
        {361, 40, 90, "chart frame, right end"},
        {426, 80, 94, "thumbnail strip background, left end"},
        {427, 20, 94, "thumbnail strip background, middle, stretched across"},
        {428, 80, 94, "thumbnail strip background, right end"},
        {433, 30, 30, "thumbnail next button, normal"},
        {434, 30, 30, "thumbnail next button, pressed"},
        {435, 30, 30, "thumbnail next button, disabled"},
        {436, 30, 30, "thumbnail previous button, normal"},
        {437, 30, 30, "thumbnail previous button, pressed"},
        {438, 30, 30, "thumbnail previous button, disabled"},
        {439, 30, 30, "thumbnail last button, normal"},
        {440, 30, 30, "thumbnail last button, pressed"},
        {441, 30, 30, "thumbnail last button, disabled"},
        {442, 30, 30, "thumbnail first button, normal"},
        {443, 30, 30, "thumbnail first button, pressed"},
        {444, 30, 30, "thumbnail first button, disabled"},
        {223, 250, 65, "transport panel background, left end"},
        {221, 20, 65, "transport panel background, middle, stretched across"},
        {222, 400, 65, "transport panel background, right end"},
        {424, 20, 65, "transport panel disabled background, middle, stretched across"},
        {425, 74, 65, "transport panel disabled background, right end"},
        {10015, 40, 40, "play button, normal"},
        {10016, 40, 40, "play button, pressed"},
        {10017, 40, 40, "play button, disabled"},
        {10034, 40, 40, "pause button, normal"},
        {10035, 40, 40, "pause button, pressed"},
        {10033, 40, 40, "pause button, disabled"},
        {10018, 26, 26, "stop button, normal"},
        {10019, 26, 26, "stop button, pressed"},
        {10020, 26, 26, "stop button, disabled"},
        {10009, 30, 30, "previous date button, normal"},
        {10010, 30, 30, "previous date button, pressed"},
        {10011, 30, 30, "previous date button, disabled"},
        {10012, 30, 30, "next date button, normal"},
        {10013, 30, 30, "next date button, pressed"},
        {10014, 30, 30, "next date button, disabled"},
        {10003, 22, 22, "previous file button, normal"},
        {10004, 22, 22, "previous file button, pressed"},
        {10005, 22, 22, "previous file button, disabled"},
        {10006, 22, 22, "next file button, normal"},
        {10007, 22, 22, "next file button, pressed"},
        {10008, 22, 22, "next file button, disabled"},
        {10027, 526, 30, "position slider track"},
        {295, 526, 30, "position slider track, played part"},
        {10031, 24, 16, "position slider thumb"},
        {10030, 18, 20, "event mark on the position slider"},
        {10024, 209, 140, "picture and sound panel background"},
        {403, 151, 16, "volume slider track"},
        {10001, 151, 16, "brightness slider track"},
        {291, 10, 15, "volume and brightness slider thumb"},
        {290, 17, 15, "standard volume button"},
        {289, 16, 16, "standard brightness button"},
        {10021, 102, 28, "open file button, normal"},
        {10022, 102, 28, "open file button, pressed"},
        {10023, 102, 28, "open file button, disabled"},
    };
    return table;
}

void SkinBook::add(int id, const QImage& picture)
{
    pictures_[id] = picture;
}

const QImage& SkinBook::picture(int id) const
{
    const auto found = pictures_.find(id);
    if (found == pictures_.end())
        throw std::logic_error("picture drawn before it is used: " + std::to_string(id));
    return found->second;
}

QStringList SkinBook::problems() const
{
    QStringList found;
    std::map<int, bool> known;
    for (const PictureSlot& slot : pictureSlots()) {
        known[slot.id] = true;
        const auto drawn = pictures_.find(slot.id);
        if (drawn == pictures_.end())
            found << QStringLiteral("%1: not drawn").arg(slot.id);
        else if (drawn->second.size() != QSize(slot.width, slot.height))
            found << QStringLiteral("%1: drawn %2 x %3, expected %4 x %5")
                         .arg(slot.id)
                         .arg(drawn->second.width())
                         .arg(drawn->second.height())
                         .arg(slot.width)
                         .arg(slot.height);
    }
    for (const auto& [id, picture] : pictures_)
        if (!known.count(id))
            found << QStringLiteral("%1: drawn but not a picture of the viewer").arg(id);
    return found;
}

bool SkinBook::write(const QString& folder) const
{
    if (!QDir().mkpath(folder))
        return false;
    QFile manifest(QDir(folder).filePath(QStringLiteral("manifest.tsv")));
    if (!manifest.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text))
        return false;
    QTextStream rows(&manifest);
    rows << "id\twidth\theight\trole\n";
    for (const PictureSlot& slot : pictureSlots()) {
        // The viewer copies pictures without blending, so they are stored opaque.
        const QImage opaque = picture(slot.id).convertToFormat(QImage::Format_RGB888);
        if (!opaque.save(QDir(folder).filePath(QStringLiteral("%1.png").arg(slot.id)), "PNG", 0))
            return false;
        rows << slot.id << '\t' << slot.width << '\t' << slot.height << '\t' << slot.role << '\n';
    }
    return rows.status() == QTextStream::Ok;
}
