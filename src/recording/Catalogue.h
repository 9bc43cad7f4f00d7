#pragma once

#include <QString>
#include <cstdint>
#include <vector>

// One recording data file of a folder, with the date-time of its header.
struct CatalogueEntry {
    QString path;
    std::int64_t time = 0; // seconds since 1970 UTC; 0 when the header date is not valid
};

using Catalogue = std::vector<CatalogueEntry>;

// True for names of the recorder's form DDDD_DDD.DAT (ASCII digits, the
// extension in any letter case). Takes a path or a bare name.
bool isDataFileName(const QString& pathOrName);

struct ScanResult {
    int count;
    int startIndex;
};

// Lists every recording data file in the folder of `chosenPath`, sorted by
// header time (ties by name), and finds the chosen file among them (index 0
// when it is not found exactly). Replaces `catalogue` on success; raises
// VideoArchiveException (5510) and leaves it unchanged on failure.
ScanResult scanFolder(const QString& chosenPath, Catalogue& catalogue);
