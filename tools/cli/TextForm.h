#pragma once
// How text crosses the command line. By default arguments and printed values are UTF-8, as a terminal
// types and shows them, and are converted at each file to its own encoding (Windows-1251, or UTF-16 for
// such a file), refusing what the file cannot hold. With --raw they are the files' bytes, passed on as
// they are, for scripts that work in Windows-1251.

#include "core/data/ProfileIni.h"

#include <string>
#include <string_view>

namespace pw::cli {

class TextForm {
public:
    explicit TextForm(bool raw) : mRaw(raw) {}
    bool Raw() const { return mRaw; }

    // An argument as record text (Windows-1251). Refuses (exit code 3) an argument that is no UTF-8 or
    // holds a character the code page lacks; what names the argument in the message.
    std::string RecordText(const std::string& argument, std::string_view what) const;
    // Refuses an argument that is no UTF-8 (never with --raw).
    void RequireText(const std::string& argument, std::string_view what) const;
    // Record text (Windows-1251) as it is printed.
    std::string Printed(std::string_view cp1251) const;

    // How the string table's IDs and texts are spelled: UTF-8 (with --raw, Windows-1251).
    ProfileForm TableForm() const { return mRaw ? ProfileForm::Cp1251 : ProfileForm::Utf8; }
    // How the names and values of INI files are spelled: an 8-bit file's bytes as they are (settings hold
    // the file system's paths), a UTF-16 file's text in UTF-8 (with --raw, in Windows-1251).
    ProfileForm IniForm() const { return mRaw ? ProfileForm::Cp1251 : ProfileForm::BytesOrUtf8; }

private:
    bool mRaw;
};

// Why UTF-8 text cannot be written in Windows-1251 (UTF-8), naming the first character the code page
// lacks; empty when it can.
std::string CodePageProblem(std::string_view utf8, std::string_view what);

} // namespace pw::cli
