#include "core/data/ProfileIni.h"

#include "core/data/Cp1251.h"
#include "core/data/FileIO.h"
#include "core/data/ProfileIniDetail.h"

namespace pw {

using profile_detail::EncodeValue;
using profile_detail::EncodingOf;
using profile_detail::HeaderNames;
using profile_detail::IsComment;
using profile_detail::IsSectionHeader;
using profile_detail::KeyEquals;
using profile_detail::LastLineEnd;
using profile_detail::NameOf;
using profile_detail::ProfileScan;
using profile_detail::TrimmedName;
using profile_detail::ValueSearch;

namespace {

// One change of a file's bytes: [pos, pos + length) is replaced by text, which holds the value's bytes at
// [valueAt, valueAt + valueLength).
struct Edit {
    std::size_t pos = 0;
    std::size_t length = 0;
    std::string text;
    std::size_t valueAt = 0;
    std::size_t valueLength = 0;
};

// A new line key=value, in the file's encoding; every line written ends with CR LF.
std::string KeyLine(const ProfileScan& scan, std::string_view key, std::string_view value) {
    return scan.Encode(std::string(key) + "=") + std::string(value) + scan.Encode("\r\n");
}

// The key's line given the new value: its name as the file spells it, without the blanks before it. A
// last line without a line break gets one, as every line written.
Edit ReplaceKeyLine(const ProfileScan& scan, const ProfileScan::Line& line, std::size_t eq,
                    std::string_view value) {
    std::size_t nameEnd = eq;
    while (nameEnd > line.trimStart && scan.Unit(nameEnd - scan.UnitSize()) <= 32)
        nameEnd -= scan.UnitSize();
    std::string replacement(scan.Data().substr(line.trimStart, nameEnd - line.trimStart));
    replacement += scan.Encode("=");
    const std::size_t valueAt = replacement.size();
    replacement += value;
    if (line.next == line.end)
        replacement += scan.Encode("\r\n");
    return Edit{line.start, line.end - line.start, std::move(replacement), valueAt, value.size()};
}

// The edit that puts before and then a new line key=value at pos, replacing length bytes.
Edit KeyLineEdit(const ProfileScan& scan, std::size_t pos, std::size_t length, std::string before,
                 std::string_view key, std::string_view value) {
    const std::size_t valueAt = before.size() + scan.Encode(std::string(key) + "=").size();
    return Edit{pos, length, before + KeyLine(scan, key, value), valueAt, value.size()};
}

// A new key line at a line's start in the section; after a line that ends the file without a line break
// it needs one first. at == Begin() follows a line break (scan starts at a line's start).
Edit InsertKeyLine(const ProfileScan& scan, std::size_t at, std::string_view key, std::string_view value) {
    const bool needsBreak = at > scan.Begin() && !scan.IsBreak(at - scan.UnitSize());
    return KeyLineEdit(scan, at, 0, needsBreak ? scan.Encode("\r\n") : std::string(), key, value);
}

// The section with the key, added at the end of the text. A stray odd byte at the end of a UTF-16 file is
// no character; the new section replaces it.
Edit AppendSection(const ProfileScan& scan, std::string_view section, std::string_view key,
                   std::string_view value) {
    const bool endsWithBreak = scan.End() == scan.Begin() || scan.IsBreak(scan.End() - scan.UnitSize());
    std::string header = "[";
    header.append(section).append("]\r\n");
    return KeyLineEdit(scan, scan.End(), scan.Data().size() - scan.End(),
                       (endsWithBreak ? std::string() : scan.Encode("\r\n")) + scan.Encode(header), key,
                       value);
}

// The change that writing key=value into section makes to bytes; std::nullopt when the file's encoding
// cannot hold the names or the value.
std::optional<Edit> PlanWrite(std::string_view bytes, std::string_view sectionText, std::string_view keyText,
                              std::string_view valueText, ProfileForm form, TextEncoding encoding) {
    ProfileScan scan(bytes, encoding);
    const std::optional<std::string> sectionName = NameOf(TrimmedName(sectionText), encoding, form);
    const std::optional<std::string> keyName = NameOf(TrimmedName(keyText), encoding, form);
    const std::optional<std::string> value = EncodeValue(valueText, encoding, form);
    if (!sectionName || !keyName || !value)
        return std::nullopt;
    const std::string_view section = *sectionName;
    const std::string_view key = *keyName;
    bool inSection = false;
    bool found = false;
    std::size_t insertAt = 0; // after the section's last key line, or after its header
    for (std::size_t pos = scan.Begin(); pos < scan.End();) {
        const ProfileScan::Line line = scan.LineAt(pos);
        pos = line.next;
        if (IsSectionHeader(scan, line)) {
            if (inSection)
                break;
            if (!found && HeaderNames(scan, line, section)) {
                inSection = found = true;
                insertAt = line.next;
            }
            continue;
        }
        if (!inSection || line.trimStart == line.trimEnd || IsComment(scan, line))
            continue;
        const std::size_t eq = KeyEquals(scan, line, key);
        if (eq != std::string_view::npos)
            return ReplaceKeyLine(scan, line, eq, *value);
        insertAt = line.next;
    }
    if (found)
        return InsertKeyLine(scan, insertAt, key, *value);
    return AppendSection(scan, section, key, *value);
}

// Where the last line in [from, to) that is neither blank nor a comment ends (after its line break), or
// npos. from and to are lines' starts, or to the end of the text; no section header lies between.
std::size_t LastKeyLineEnd(const ProfileScan& scan, std::size_t from, std::size_t to) {
    const std::size_t unit = scan.UnitSize();
    for (std::size_t next = to; next > from;) {
        std::size_t end = next; // the line's end before its line break: CR LF, LF, CR or none
        if (scan.Unit(end - unit) == '\n') {
            end -= unit;
            if (end > from && scan.Unit(end - unit) == '\r')
                end -= unit;
        } else if (scan.Unit(end - unit) == '\r') {
            end -= unit;
        }
        std::size_t start = end;
        while (start > from && !scan.IsBreak(start - unit))
            start -= unit;
        std::size_t first = start;
        while (first < end && scan.Unit(first) <= 32)
            first += unit;
        if (first < end && scan.Unit(first) != ';')
            return next;
        next = start;
    }
    return std::string_view::npos;
}

std::string NotInFileEncodingMessage() {
    return "Текст содержит символ, которого нет в кодировке файла";
}

bool HasLineBreak(std::string_view text) {
    return text.find_first_of("\r\n") != std::string_view::npos;
}

} // namespace

ProfileKeyProblem CheckProfileKey(std::string_view key) {
    key = TrimmedName(key);
    if (HasLineBreak(key))
        return ProfileKeyProblem::LineBreak;
    if (key.empty())
        return ProfileKeyProblem::Empty;
    if (key.find('=') != std::string_view::npos)
        return ProfileKeyProblem::Equals;
    if (key.front() == ';')
        return ProfileKeyProblem::Comment;
    if (key.front() == '[')
        return ProfileKeyProblem::Bracket;
    return ProfileKeyProblem::None;
}

std::optional<std::string> ProfileKeyProblemMessage(ProfileKeyProblem problem, std::string_view subject,
                                                    std::string_view name) {
    const std::string quoted = std::string(subject) + " \"" + std::string(name) + "\"";
    switch (problem) {
    case ProfileKeyProblem::None:
        break;
    case ProfileKeyProblem::Empty:
        return std::string(subject) + " не задан";
    case ProfileKeyProblem::LineBreak:
        return std::string(subject) + " не может содержать перевод строки";
    case ProfileKeyProblem::Equals:
        return quoted + " не может содержать \"=\"";
    case ProfileKeyProblem::Comment:
        return quoted + " не может начинаться с \";\"";
    case ProfileKeyProblem::Bracket:
        return quoted + " не может начинаться с \"[\"";
    }
    return std::nullopt;
}

std::optional<std::string> ProfileWriteProblem(std::string_view section, std::string_view key,
                                               std::string_view value, ProfileForm form) {
    // The names are quoted as UTF-8, as every message of the program is.
    const auto shown = [form](std::string_view name) {
        return form == ProfileForm::Cp1251 ? Cp1251ToUtf8(name) : std::string(name);
    };
    if (HasLineBreak(section))
        return "Имя раздела не может содержать перевод строки";
    if (TrimmedName(section).find(']') != std::string_view::npos)
        return "Имя раздела \"" + shown(TrimmedName(section)) + "\" не может содержать \"]\"";
    if (std::optional<std::string> problem =
            ProfileKeyProblemMessage(CheckProfileKey(key), "Ключ", shown(TrimmedName(key))))
        return problem;
    if (HasLineBreak(value))
        return "Значение не может содержать перевод строки";
    return std::nullopt;
}

ProfileChange::ProfileChange(std::string_view bytes, std::string_view section,
                             const std::vector<std::pair<std::string, std::string>>& keyValues,
                             ProfileForm form, ProfileDialect dialect)
    : mPieces{bytes, {}, {}} {
    // Told once: a write keeps the file's encoding, so the joined text of the keys before has the same.
    const TextEncoding encoding = EncodingOf(bytes, dialect);
    // Each key's change is kept as three pieces around the file's own bytes, so a one-key write into a
    // large table copies nothing before writing; only a further key needs the earlier result joined.
    std::string_view current = bytes;
    for (std::size_t i = 0; i < keyValues.size(); ++i) {
        if (i > 0) {
            std::string next;
            next.reserve(mPieces[0].size() + mPieces[1].size() + mPieces[2].size());
            next.append(mPieces[0]).append(mPieces[1]).append(mPieces[2]);
            mJoined.swap(next);
            current = mJoined;
        }
        std::optional<Edit> edit =
            PlanWrite(current, section, keyValues[i].first, keyValues[i].second, form, encoding);
        if (!edit) {
            mPossible = false;
            mPieces = {bytes, {}, {}};
            return;
        }
        mText = std::move(edit->text);
        mPieces = {current.substr(0, edit->pos), mText, current.substr(edit->pos + edit->length)};
    }
}

ProfileStreamedWrite::ProfileStreamedWrite(std::string_view section, std::string_view key,
                                           std::string_view value, ProfileForm form,
                                           std::optional<TextEncoding> encoding)
    : mSection(section), mKey(key), mValue(value), mForm(form), mEncoding(encoding) {}

std::optional<std::string> ProfileStreamedWrite::Seek(BlockReader* current, FileOutput& out) {
    bool more = current && current->ReadMore();
    while (more && current->Data().size() < 3)
        more = current->ReadMore();
    const TextEncoding encoding =
        !current ? TextEncoding::Ansi
                 : mEncoding.value_or(EncodingOf(current->Data(), ProfileDialect::Profile));
    const bool wide = encoding == TextEncoding::Utf16LeBom;
    const std::size_t mark = std::min(MarkOf(encoding).size(), current ? current->Data().size() : 0);
    const std::optional<std::string> section = NameOf(TrimmedName(mSection), encoding, mForm);
    const std::optional<std::string> key = NameOf(TrimmedName(mKey), encoding, mForm);
    const std::optional<std::string> value = EncodeValue(mValue, encoding, mForm);
    mEncodingUsed = encoding;
    if (!section || !key)
        return std::nullopt; // no line can hold such a name
    mPossible = value.has_value();
    const std::string valueBytes = value.value_or(std::string());
    // Where the value cannot be written the key is still looked for, so the caller sees its present value;
    // nothing is written then.
    const auto write = [&](std::string_view bytes) {
        if (mPossible)
            out.Write(bytes);
    };
    const auto plan = [&](Edit edit) {
        mEditPos = edit.pos;
        mEditLength = edit.length;
        mEditText = std::move(edit.text);
        mValueAt = edit.valueAt;
        mValueLength = edit.valueLength;
    };
    if (mark > 0) {
        write(current->Data().substr(0, mark));
        current->Consume(mark);
    }
    ValueSearch search(mSection, mKey, encoding, mForm);
    std::size_t scanned = 0; // bytes of Data() already searched for line breaks
    for (;;) {
        const std::string_view data = current ? current->Data() : std::string_view();
        // Whole lines only, but all of the rest at the end of the file.
        const std::size_t cut = more ? LastLineEnd(data, scanned, wide) : data.size();
        std::size_t done = cut; // what comes before the edit, written and consumed
        if (cut > 0 || !more) {
            ProfileScan scan(data.substr(0, cut), encoding, 0);
            search.Feed(scan);
            if (const std::optional<ValueSearch::KeyLine>& found = search.Found()) {
                plan(ReplaceKeyLine(scan, found->line, found->eq, valueBytes));
                mWholeValue = profile_detail::WholeValueAfter(scan, found->line, found->eq, mForm);
                return search.TakeValue();
            }
            if (search.SectionBegin() == std::string_view::npos) {
                if (!more) {
                    plan(AppendSection(scan, *section, *key, valueBytes));
                    return std::nullopt;
                }
            } else {
                // A new key goes after the section's last key line, so the blank and comment lines after
                // that stay unwritten until the next key line or the section's end shows where it goes.
                const std::size_t last = LastKeyLineEnd(scan, search.SectionBegin(), search.SectionEnd());
                done = last != std::string_view::npos ? last : search.SectionBegin();
                if (search.Done() || !more) {
                    plan(InsertKeyLine(scan, done, *key, valueBytes));
                    return std::nullopt;
                }
            }
        }
        write(data.substr(0, done));
        current->Consume(done);
        scanned = data.size() - done;
        more = current->ReadMore();
    }
}

bool ProfileStreamedWrite::SetValue(std::string_view value) {
    std::optional<std::string> bytes = EncodeValue(value, mEncodingUsed, mForm);
    mPossible = bytes.has_value();
    if (!mPossible)
        return false;
    mEditText.replace(mValueAt, mValueLength, *bytes);
    mValueLength = bytes->size();
    return true;
}

void ProfileStreamedWrite::Finish(BlockReader* current, FileOutput& out) {
    const std::string_view data = current ? current->Data() : std::string_view();
    out.Write(data.substr(0, mEditPos));
    out.Write(mEditText);
    out.Write(data.substr(mEditPos + mEditLength));
    if (!current)
        return;
    current->Consume(data.size());
    while (current->ReadMore()) {
        out.Write(current->Data());
        current->Consume(current->Data().size());
    }
}

bool ProfileWriteString(const std::string& path, std::string_view section, std::string_view key,
                        std::string_view value, std::string* reason, ProfileForm form) {
    return ProfileWriteStrings(path, section, {{std::string(key), std::string(value)}}, reason, form);
}

bool ProfileWriteStrings(const std::string& path, std::string_view section,
                         const std::vector<std::pair<std::string, std::string>>& keyValues,
                         std::string* reason, ProfileForm form) {
    for (const auto& [key, value] : keyValues) {
        if (std::optional<std::string> problem = ProfileWriteProblem(section, key, value, form)) {
            if (reason)
                *reason = std::move(*problem);
            return false;
        }
    }
    std::optional<ProfileChange> change;
    const bool written = UpdateFileAtomic(
        path,
        [&](const std::optional<std::string>& current) -> std::optional<FilePieces> {
            change.emplace(current ? std::string_view(*current) : std::string_view(), section, keyValues,
                           form);
            return change->Possible() ? std::optional<FilePieces>(change->Pieces()) : std::nullopt;
        },
        reason);
    if (written && change && !change->Possible()) {
        if (reason)
            *reason = NotInFileEncodingMessage();
        return false;
    }
    return written;
}

} // namespace pw
