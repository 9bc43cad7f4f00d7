#include "errors/Exception.h"
#include "imaging/ResourceImages.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QSet>
#include <QStringList>
#include <QTextStream>

#include <vector>

namespace {

struct ManifestRow {
    int id;
    int width;
    int height;
    QString role;
};

// The manifest the skin generator writes next to the pictures: a header
// line, then id, width, height and role separated by tabs.
std::vector<ManifestRow> readManifest()
{
    std::vector<ManifestRow> rows;
    QFile file(QStringLiteral(KVR_MANIFEST));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return rows;
    QTextStream lines(&file);
    lines.readLine();
    while (!lines.atEnd()) {
        const QString line = lines.readLine();
        if (line.isEmpty())
            continue;
        const QStringList fields = line.split(QLatin1Char('\t'));
        if (fields.size() != 4)
            return {};
        rows.push_back({fields[0].toInt(), fields[1].toInt(), fields[2].toInt(), fields[3]});
    }
    return rows;
}

class SkinManifest : public testing::Test {
protected:
    const std::vector<ManifestRow> rows = readManifest();
};

} // namespace

TEST_F(SkinManifest, ListsEachPictureOnce)
{
    ASSERT_FALSE(rows.empty()) << "manifest missing or malformed: " << KVR_MANIFEST;
    QSet<int> seen;
    for (const ManifestRow& row : rows) {
        EXPECT_GT(row.id, 0) << qPrintable(row.role);
        EXPECT_FALSE(seen.contains(row.id)) << "listed twice: " << row.id;
        seen.insert(row.id);
    }
}

TEST_F(SkinManifest, EveryPictureLoadsAtItsSize)
{
    ASSERT_FALSE(rows.empty());
    for (const ManifestRow& row : rows) {
        SCOPED_TRACE(testing::Message() << row.id << " " << qPrintable(row.role));
        try {
            const AlphaImage picture(row.id);
            EXPECT_EQ(picture.width(), row.width);
            EXPECT_EQ(picture.height(), row.height);
        } catch (const Exception& e) {
            ADD_FAILURE() << "not among the resources: " << qPrintable(e.message());
        }
    }
}

// Pictures are copied without blending, so they are stored without alpha and
// decode with a fourth byte of 0 throughout.
TEST_F(SkinManifest, EveryPictureIsOpaque)
{
    ASSERT_FALSE(rows.empty());
    for (const ManifestRow& row : rows) {
        const AlphaImage picture(row.id);
        ASSERT_NE(picture.image(), nullptr) << row.id;
        const Image& image = *picture.image();
        bool alphaFree = true;
        for (int i = 3; i < image.byteSize() && alphaFree; i += 4)
            alphaFree = image.pixels()[i] == 0;
        EXPECT_TRUE(alphaFree) << row.id;
    }
}

TEST(SkinResources, MissingPictureRaisesWindowException)
{
    // 236 lies between the small and the large figures; 99999 is far off.
    for (int id : {0, 236, 99999})
        EXPECT_THROW(AlphaImage picture(id), WindowException) << id;
}
