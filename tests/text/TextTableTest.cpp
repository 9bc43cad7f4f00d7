#include "errors/Exception.h"
#include "text/CodePage.h"
#include "text/SystemErrorText.h"
#include "text/TextTable.h"

#include <gtest/gtest.h>

#include <cerrno>

TEST(TextTable, KnownAndMissingIds)
{
    EXPECT_EQ(resourceText(5001), QStringLiteral("KVR-M48C"));
    EXPECT_EQ(resourceText(5510), QStringLiteral("該当データを読み込めません。"));
    EXPECT_EQ(resourceText(5087), QStringLiteral("0402"));
    EXPECT_TRUE(resourceText(5003).isEmpty());
    EXPECT_TRUE(resourceText(0).isEmpty());
    EXPECT_TRUE(resourceText(5086).isEmpty()); // support page: no address
}

TEST(TextTable, LineBreaksAreCarriageReturnLineFeed)
{
    const QString text = resourceText(5519);
    EXPECT_TRUE(text.contains(QStringLiteral("かかります。\r\nよろしいですか？")));
}

TEST(TextTable, EveryEntrySurvivesTheNarrowRoundTrip)
{
    for (int id = 5000; id <= 5600; ++id)
        EXPECT_EQ(resourceTextNarrow(id), resourceText(id)) << id;
}

TEST(CodePage, Cp932BothWays)
{
    const QString text = QStringLiteral("データ_0001.DAT");
    const std::string narrow = wideToAnsi(text);
    EXPECT_EQ(narrow, std::string("\x83\x66\x81\x5B\x83\x5E_0001.DAT"));
    EXPECT_EQ(oemToWide(narrow), text);
}

TEST(CodePage, InvalidInputIsAnErrorNotASubstitution)
{
    EXPECT_THROW(oemToWide(std::string("\x83")), SystemException);        // cut multi-byte character
    EXPECT_THROW(oemToWide(std::string("A\xFF\xFF")), SystemException);   // not CP932
    EXPECT_THROW(wideToAnsi(QStringLiteral("\u00E9t\u00E9")), SystemException); // é has no CP932 form
}

TEST(SystemErrorText, KnownCodeIsTheSystemText)
{
    EXPECT_EQ(systemErrorText(ENOENT), QStringLiteral("No such file or directory"));
    EXPECT_EQ(WindowException::fromError(EACCES).message(), QStringLiteral("Permission denied"));
}

TEST(SystemErrorText, UnknownCodeFallsBackToTheNumberedText)
{
    EXPECT_EQ(systemErrorText(98765), QStringLiteral("Windowsのエラーです。エラーコード:98765"));
    EXPECT_EQ(systemErrorText(-7), QStringLiteral("Windowsのエラーです。エラーコード:-7"));
}

TEST(Exceptions, CleanupPointRethrowsTheBaseWithTheSameMessage)
{
    try {
        try {
            throw VideoArchiveException(resourceText(5510));
        } catch (const Exception& e) {
            rethrowAsBase(e);
        }
    } catch (const VideoArchiveException&) {
        FAIL() << "the subclass must not survive a cleanup point";
    } catch (const Exception& e) {
        EXPECT_EQ(e.message(), resourceText(5510));
    }
}

TEST(Exceptions, DataMissingPassesExceptionHandlers)
{
    bool passed = false;
    try {
        try {
            throw DataMissingException();
        } catch (const Exception&) {
            FAIL() << "DataMissingException is not an Exception";
        }
    } catch (const DataMissingException&) {
        passed = true;
    }
    EXPECT_TRUE(passed);
}
