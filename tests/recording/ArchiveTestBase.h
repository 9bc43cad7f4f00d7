#pragma once

#include "recording/VideoArchive.h"
#include "support/RecordingFileBuilder.h"
#include "support/RecordingFixtures.h"
#include "support/TempDir.h"

#include <QDir>
#include <gtest/gtest.h>

#include <vector>

// Opens data files written by a test, with the temporary WAV files going to a
// folder of the test's own so that leftovers can be seen.
class ArchiveTestBase : public ::testing::Test {
protected:
    void SetUp() override
    {
        savedTmp_ = qgetenv("TMPDIR");
        hadTmp_ = qEnvironmentVariableIsSet("TMPDIR");
        qputenv("TMPDIR", QFile::encodeName(soundDir_.path()));
    }

    void TearDown() override
    {
        archive_.close();
        if (hadTmp_)
            qputenv("TMPDIR", savedTmp_);
        else
            qunsetenv("TMPDIR");
    }

    QString dataPath() const { return files_.file("0001_001.DAT"); }

    VideoArchive& open(const std::vector<std::uint8_t>& bytes)
    {
        fixture::writeFile(dataPath(), bytes);
        archive_.open(dataPath(), progress_);
        return archive_;
    }

    // numberA of every slot in use (0 for an empty one).
    std::vector<int> slotTags() const
    {
        std::vector<int> tags;
        for (int i = 0; i < archive_.slotCount(); ++i)
            tags.push_back(archive_.slotAt(i) ? archive_.slotAt(i)->numberA : 0);
        return tags;
    }

    // The WAV file as written, header included.
    std::vector<std::uint8_t> wavFile() const { return fixture::readFile(archive_.soundFilePath()); }

    std::vector<std::uint8_t> soundData() const
    {
        const auto wav = wavFile();
        return wav.size() < 44 ? std::vector<std::uint8_t>{} : std::vector<std::uint8_t>(wav.begin() + 44, wav.end());
    }

    QStringList leftoverSoundFiles() const { return QDir(soundDir_.path()).entryList(QDir::Files); }

    TempDir files_;
    TempDir soundDir_;
    VideoArchive archive_;
    fixture::ProgressSpy progress_;

private:
    QByteArray savedTmp_;
    bool hadTmp_ = false;
};
