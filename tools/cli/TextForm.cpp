#include "TextForm.h"

#include "CliSupport.h"

#include "core/data/Cp1251.h"

namespace pw::cli {

std::string CodePageProblem(std::string_view utf8, std::string_view what) {
    const std::optional<std::u32string> text = DecodeUtf8(utf8);
    if (!text)
        return std::string(what) + " не является текстом в UTF-8 (байты Windows-1251 передаются с --raw)";
    if (const std::optional<LackingCharacter> lacking = FirstCp1251Lacks(*text))
        return std::string(what) + ": символа «" + lacking->utf8 + "» (" + lacking->codePoint +
               ") нет в кодировке Windows-1251";
    return {};
}

std::string TextForm::RecordText(const std::string& argument, std::string_view what) const {
    if (mRaw)
        return argument;
    if (std::optional<std::string> text = Utf8ToCp1251Exact(argument))
        return std::move(*text);
    throw CliFailure(kExitRefused, CodePageProblem(argument, what));
}

void TextForm::RequireText(const std::string& argument, std::string_view what) const {
    if (!mRaw && !DecodeUtf8(argument))
        throw CliFailure(kExitRefused, CodePageProblem(argument, what));
}

std::string TextForm::Printed(std::string_view cp1251) const {
    return mRaw ? std::string(cp1251) : Cp1251ToUtf8(cp1251);
}

} // namespace pw::cli
