#include "recording/Catalogue.h"

#include "errors/Exception.h"
#include "recording/RecordingFormat.h"
#include "text/TextTable.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <array>

namespace {

constexpr int kDataFileNameLength = 12; // DDDD_DDD.DAT
constexpr qint64 kHeaderBytesRead = 8;  // two bytes, then the BCD date-time

bool isAsciiDigit(QChar c)
{
    return c.unicode() >= u'0' && c.unicode() <= u'9';
}

QChar asciiUpper(QChar c)
{
    if (c.unicode() >= u'a' && c.unicode() <= u'z')
        return QChar(static_cast<char16_t>(c.unicode() - u'a' + u'A'));
    return c;
}

[[noreturn]] void failScan()
{
    throw VideoArchiveException(resourceText(TextId::CannotReadData));
}

// Where a chosen path's folder lies, and how to join names onto it so that a
// joined path names the same file the chosen path does.
struct Folder {
    QString listPath; // what to enumerate
    QString prefix;   // what to put before a name
};

Folder folderOf(const QString& chosenPath)
{
    const qsizetype slash = chosenPath.lastIndexOf(u'/');
    if (slash < 0)
        return {QStringLiteral("."), QString()}; // the current folder, names stay relative
    if (slash == 0)
        return {QStringLiteral("/"), QStringLiteral("/")};
    const QString folder = chosenPath.left(slash);
    return {folder, folder + u'/'};
}

// The header time of one data file; fails the scan when the file is not a
// regular file (a folder, a pipe) or holds fewer than 8 bytes.
std::int64_t headerTime(const QString& path)
{
    // A pipe would block the open and a folder cannot be read: only plain
    // files (or links to them) are opened.
    if (!QFileInfo(path).isFile())
        failScan();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        failScan();
    std::array<std::uint8_t, kHeaderBytesRead> header{};
    if (file.read(reinterpret_cast<char*>(header.data()), kHeaderBytesRead) != kHeaderBytesRead)
        failScan();
    return RecordingFormat::bcdDateTime(header.data() + RecordingFormat::FileHeader::DateTime).value_or(0);
}

} // namespace

bool isDataFileName(const QString& pathOrName)
{
    const QString name = pathOrName.mid(pathOrName.lastIndexOf(u'/') + 1);
    if (name.size() != kDataFileNameLength)
        return false;
    static constexpr char16_t kForm[] = u"####_###.DAT"; // '#' stands for a digit
    for (int i = 0; i < kDataFileNameLength; ++i) {
        const QChar c = asciiUpper(name[i]);
        if (kForm[i] == u'#' ? !isAsciiDigit(c) : c != QChar(kForm[i]))
            return false;
    }
    return true;
}

ScanResult scanFolder(const QString& chosenPath, Catalogue& catalogue)
{
    const Folder folder = folderOf(chosenPath);
    const QDir dir(folder.listPath);
    if (!dir.exists())
        failScan();

    // Folders and special files are listed too, so that one bearing a data
    // file's name fails the scan instead of vanishing silently.
    QStringList names = dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                                      QDir::Unsorted);
    names.removeIf([](const QString& name) { return !isDataFileName(name); });
    if (names.isEmpty())
        failScan();
    // Entries with equal times keep name order, whatever order the file system lists them in.
    std::sort(names.begin(), names.end());

    Catalogue found;
    found.reserve(static_cast<std::size_t>(names.size()));
    for (const QString& name : names) {
        const QString path = folder.prefix + name;
        found.push_back({path, headerTime(path)});
    }
    std::stable_sort(found.begin(), found.end(),
                     [](const CatalogueEntry& a, const CatalogueEntry& b) { return a.time < b.time; });

    const auto chosen = std::find_if(found.begin(), found.end(),
                                     [&](const CatalogueEntry& e) { return e.path == chosenPath; });
    const int startIndex = chosen == found.end() ? 0 : static_cast<int>(chosen - found.begin());
    const int count = static_cast<int>(found.size());
    catalogue = std::move(found);
    return {count, startIndex};
}
