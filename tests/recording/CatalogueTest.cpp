#include "recording/Catalogue.h"

#include "errors/Exception.h"
#include "recording/RecordingFormat.h"
#include "support/TempDir.h"
#include "text/TextTable.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

#include <array>
#include <optional>
#include <string>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using RecordingFormat::LocalDateTime;

// ---- name test -------------------------------------------------------------

struct NameCase {
    const char16_t* text;
    bool qualifies;
};

TEST(DataFileNameTest, AcceptsOnlyTheRecorderForm)
{
    const NameCase cases[] = {
        {u"0001_001.DAT", true},
        {u"2013_999.dat", true},
        {u"9999_000.Dat", true},
        {u"/media/card/0001_001.DAT", true},
        {u"relative/dir/0042_017.dAt", true},
        {u"0001-001.DAT", false},
        {u"001_001.DAT", false},
        {u"00001_001.DAT", false},
        {u"0001_001.DAT.bak", false},
        {u"0001_001.DA", false},
        {u"0001_00a.DAT", false},
        {u"A001_001.DAT", false},
        {u"0001_001.TAD", false},
        {u"0001_001 DAT", false},
        {u"０００１_００１.DAT", false}, // full-width digits are not the recorder's
        {u"0001_00٣.DAT", false},     // nor are other scripts' digits
        {u"0001_001.ＤＡＴ", false},  // full-width letters do not upper-case into ASCII
        {u"0001_001.DAT/", false},      // the last component is empty
        {u"0001_001.DAT/x", false},
        {u"", false},
    };
    for (const NameCase& c : cases) {
        const QString text = QString::fromUtf16(c.text);
        EXPECT_EQ(isDataFileName(text), c.qualifies) << text.toStdString();
    }
}

// ---- folder scan ------------------------------------------------------------

// A folder of data files whose first 8 bytes the tests choose.
class CatalogueScanTest : public ::testing::Test {
protected:
    // Writes `name` with two leading bytes, then the header date-time (or six
    // zero bytes), then a few bytes of padding.
    QString addFile(const QString& name, std::optional<LocalDateTime> date) const
    {
        std::array<std::uint8_t, 16> bytes{};
        bytes[0] = 0x04;
        bytes[1] = 0x02;
        if (date)
            RecordingFormat::encodeBcdDateTime(bytes.data() + RecordingFormat::FileHeader::DateTime, *date);
        return addRaw(name, QByteArray(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    }

    QString addRaw(const QString& name, const QByteArray& contents) const
    {
        const QString path = dir.file(name);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(contents) != contents.size())
            ADD_FAILURE() << "cannot write " << path.toStdString();
        return path;
    }

    static std::int64_t timeOf(const LocalDateTime& dt)
    {
        return RecordingFormat::localDateTime(dt).value();
    }

    // One path a line, so that a failure prints readably.
    static std::string pathsOf(const Catalogue& catalogue)
    {
        QStringList paths;
        for (const CatalogueEntry& e : catalogue)
            paths << e.path;
        return paths.join(u'\n').toStdString();
    }

    static std::string lines(const QStringList& paths) { return paths.join(u'\n').toStdString(); }

    // A catalogue left from an earlier scan, to see that failures keep it.
    static Catalogue previousCatalogue() { return {{QStringLiteral("/old/0001_001.DAT"), 1234}}; }

    void expectScanFails(const QString& chosen) const
    {
        Catalogue catalogue = previousCatalogue();
        try {
            scanFolder(chosen, catalogue);
            ADD_FAILURE() << "scan of " << chosen.toStdString() << " succeeded";
        } catch (const VideoArchiveException& e) {
            EXPECT_EQ(e.message(), resourceText(TextId::CannotReadData));
        }
        ASSERT_EQ(catalogue.size(), 1u);
        EXPECT_EQ(catalogue[0].path, QStringLiteral("/old/0001_001.DAT"));
        EXPECT_EQ(catalogue[0].time, 1234);
    }

    TempDir dir;
};

TEST_F(CatalogueScanTest, OrdersByHeaderDateAndFindsTheChosenFile)
{
    const LocalDateTime may2{2009, 5, 2, 10, 0, 0};
    const LocalDateTime may3{2009, 5, 3, 8, 30, 15};
    const QString later = addFile("0001_001.DAT", may3);
    const QString earlier = addFile("0002_001.DAT", may2);
    addRaw("notes.txt", "0001_001.DAT is not me");

    Catalogue catalogue = previousCatalogue();
    const ScanResult result = scanFolder(later, catalogue);

    EXPECT_EQ(result.count, 2);
    EXPECT_EQ(result.startIndex, 1);
    EXPECT_EQ(pathsOf(catalogue), lines({earlier, later}));
    EXPECT_EQ(catalogue[0].time, timeOf(may2));
    EXPECT_EQ(catalogue[1].time, timeOf(may3));
}

TEST_F(CatalogueScanTest, EqualDatesFollowNamesAndInvalidDatesComeFirst)
{
    const LocalDateTime same{2010, 1, 15, 12, 0, 0};
    // Written out of name order so that creation order cannot pass for name order.
    const QString c = addFile("0003_001.DAT", same);
    const QString a = addFile("0001_001.dat", same);
    const QString b = addFile("0002_001.DAT", same);
    const QString undated = addFile("0009_009.DAT", std::nullopt);            // month 0
    const QString leapless = addFile("0008_008.DAT", LocalDateTime{2009, 2, 29, 0, 0, 0});
    const QString early = addFile("0007_007.DAT", LocalDateTime{2009, 12, 31, 23, 59, 59});

    Catalogue catalogue;
    const ScanResult result = scanFolder(b, catalogue);

    EXPECT_EQ(result.count, 6);
    EXPECT_EQ(pathsOf(catalogue), lines({leapless, undated, early, a, b, c}));
    EXPECT_EQ(result.startIndex, 4);
    EXPECT_EQ(catalogue[0].time, 0);
    EXPECT_EQ(catalogue[1].time, 0);
}

TEST_F(CatalogueScanTest, ChosenPathMustMatchExactly)
{
    addFile("0001_001.DAT", LocalDateTime{2009, 5, 2, 0, 0, 0});
    const QString second = addFile("0002_001.DAT", LocalDateTime{2009, 5, 3, 0, 0, 0});

    Catalogue catalogue;
    EXPECT_EQ(scanFolder(second, catalogue).startIndex, 1);
    // The same folder through another spelling of the name still lists it,
    // but does not find the chosen file.
    EXPECT_EQ(scanFolder(dir.file("0002_001.dat"), catalogue).startIndex, 0);
    EXPECT_EQ(catalogue.size(), 2u);
    // A chosen file that is not a data file opens the folder's list at 0.
    EXPECT_EQ(scanFolder(dir.file("other.bin"), catalogue).startIndex, 0);
}

TEST_F(CatalogueScanTest, PathWithoutFolderScansTheCurrentFolder)
{
    addFile("0002_001.DAT", LocalDateTime{2009, 5, 3, 0, 0, 0});
    addFile("0001_001.DAT", LocalDateTime{2009, 5, 2, 0, 0, 0});
    const QString saved = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(dir.path()));

    Catalogue catalogue;
    const ScanResult result = scanFolder(QStringLiteral("0002_001.DAT"), catalogue);
    QDir::setCurrent(saved);

    EXPECT_EQ(result.count, 2);
    EXPECT_EQ(result.startIndex, 1);
    EXPECT_EQ(pathsOf(catalogue), lines({"0001_001.DAT", "0002_001.DAT"}));
}

TEST_F(CatalogueScanTest, UnreadableQualifyingEntryFailsTheWholeScan)
{
    const QString good = addFile("0001_001.DAT", LocalDateTime{2009, 5, 2, 0, 0, 0});
    addRaw("0002_001.DAT", QByteArray(7, '\0')); // one byte short of the date
    expectScanFails(good);
}

TEST_F(CatalogueScanTest, FolderBearingADataFileNameFailsTheScan)
{
    const QString good = addFile("0001_001.DAT", LocalDateTime{2009, 5, 2, 0, 0, 0});
    ASSERT_TRUE(QDir(dir.path()).mkdir("0002_001.DAT"));
    expectScanFails(good);
}

// A pipe could block the open forever; it is refused like any other entry
// that is not a plain file. Here a writer holds it open with bytes waiting, so
// reading it would not block and would otherwise succeed.
TEST_F(CatalogueScanTest, PipeBearingADataFileNameFailsTheScan)
{
    const QString good = addFile("0001_001.DAT", LocalDateTime{2009, 5, 2, 0, 0, 0});
    const QByteArray pipePath = QFile::encodeName(dir.file("0002_001.DAT"));
    ASSERT_EQ(::mkfifo(pipePath.constData(), 0600), 0);
    const int writer = ::open(pipePath.constData(), O_RDWR | O_NONBLOCK);
    ASSERT_GE(writer, 0);
    const char header[16] = {};
    ASSERT_EQ(::write(writer, header, sizeof header), static_cast<ssize_t>(sizeof header));
    expectScanFails(good);
    ::close(writer);
}

TEST_F(CatalogueScanTest, FolderWithoutDataFilesFails)
{
    addRaw("readme.txt", "hello");
    addRaw("0001_001.DAT.bak", QByteArray(16, '\0'));
    ASSERT_TRUE(QDir(dir.path()).mkdir("DCIM"));
    expectScanFails(dir.file("0001_001.DAT"));
}

TEST_F(CatalogueScanTest, MissingFolderFails)
{
    expectScanFails(dir.file("absent/0001_001.DAT"));
}

TEST_F(CatalogueScanTest, ExactlyEightBytesAreEnough)
{
    const LocalDateTime when{2011, 7, 4, 6, 5, 4};
    std::array<std::uint8_t, 8> header{};
    RecordingFormat::encodeBcdDateTime(header.data() + 2, when);
    const QString path = addRaw("0001_001.DAT", QByteArray(reinterpret_cast<const char*>(header.data()), 8));

    Catalogue catalogue;
    EXPECT_EQ(scanFolder(path, catalogue).count, 1);
    EXPECT_EQ(catalogue[0].time, timeOf(when));
}

} // namespace
