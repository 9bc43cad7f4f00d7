#include "text/CodePage.h"

#include "errors/Exception.h"
#include "text/SystemErrorText.h"

#include <cerrno>
#include <iconv.h>

namespace {

constexpr const char* kCodePage = "CP932";
constexpr const char* kWide = "UTF-16LE";

// Converts all of `in` with iconv; raises on any invalid or unmappable input.
std::string convert(const char* to, const char* from, const char* in, std::size_t inSize)
{
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1))
        throw SystemException(systemErrorText(errno));

    std::string out;
    out.resize(inSize * 2 + 16);
    char* inPtr = const_cast<char*>(in);
    std::size_t inLeft = inSize;
    std::size_t done = 0;
    int failure = 0;
    while (inLeft > 0) {
        char* outPtr = out.data() + done;
        std::size_t outLeft = out.size() - done;
        const std::size_t rc = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
        done = out.size() - outLeft;
        if (rc == static_cast<std::size_t>(-1)) {
            if (errno == E2BIG) {
                out.resize(out.size() * 2);
                continue;
            }
            failure = errno; // EILSEQ or EINVAL: nothing is ever substituted
            break;
        }
    }
    iconv_close(cd);
    if (failure != 0)
        throw SystemException(systemErrorText(failure));
    out.resize(done);
    return out;
}

} // namespace

std::string wideToAnsi(const QString& text)
{
    return convert(kCodePage, kWide, reinterpret_cast<const char*>(text.utf16()),
                   static_cast<std::size_t>(text.size()) * 2);
}

QString oemToWide(std::string_view bytes)
{
    const std::string wide = convert(kWide, kCodePage, bytes.data(), bytes.size());
    return QString::fromUtf16(reinterpret_cast<const char16_t*>(wide.data()),
                              static_cast<qsizetype>(wide.size() / 2));
}
