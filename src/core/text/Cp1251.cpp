#include "text/Cp1251.h"

#include <unicode/ucnv.h>
#include <unicode/ucnv_cb.h>

#include <array>
#include <memory>

namespace {

using Converter = std::unique_ptr<UConverter, decltype(&ucnv_close)>;

Converter openConverter(const char* name)
{
    UErrorCode status = U_ZERO_ERROR;
    Converter converter(ucnv_open(name, &status), &ucnv_close);
    return U_SUCCESS(status) ? std::move(converter) : Converter(nullptr, &ucnv_close);
}

// Every character the code page lacks becomes '?'. ICU's own substitute
// would write 0x1A, a control character, and drop invisible characters
// (U+200B, U+FEFF) altogether.
void writeQuestionMark(const void* /*context*/, UConverterFromUnicodeArgs* args, const UChar* /*units*/,
    int32_t /*length*/, UChar32 /*codePoint*/, UConverterCallbackReason reason, UErrorCode* status)
{
    if (reason <= UCNV_IRREGULAR) {
        *status = U_ZERO_ERROR;
        ucnv_cbFromUWriteBytes(args, "?", 1, 0, status);
    }
}

// ICU's windows-1251 maps every byte, the unassigned 0x98 to U+0098, so any
// file survives a round trip. Malformed UTF-8 becomes U+FFFD on the way, and
// so '?' as well.
std::string convert(const char* from, const char* to, const std::string& text)
{
    const Converter source = openConverter(from);
    const Converter target = openConverter(to);
    if (!source || !target) {
        return {};
    }
    UErrorCode status = U_ZERO_ERROR;
    ucnv_setFromUCallBack(target.get(), writeQuestionMark, nullptr, nullptr, nullptr, &status);
    // A byte of either side is at most three bytes of the other.
    std::string out(text.size() * 3 + 1, '\0');
    char* written = out.data();
    const char* read = text.data();
    std::array<UChar, 256> pivot{};
    UChar* pivotSource = pivot.data();
    UChar* pivotTarget = pivot.data();
    ucnv_convertEx(target.get(), source.get(), &written, out.data() + out.size(), &read, text.data() + text.size(),
        pivot.data(), &pivotSource, &pivotTarget, pivot.data() + pivot.size(), true, true, &status);
    out.resize(U_SUCCESS(status) ? static_cast<std::size_t>(written - out.data()) : 0);
    return out;
}

} // namespace

std::string Cp1251::toUtf8(const std::string& bytes)
{
    return convert("windows-1251", "UTF-8", bytes);
}

std::string Cp1251::fromUtf8(const std::string& utf8)
{
    return convert("UTF-8", "windows-1251", utf8);
}
