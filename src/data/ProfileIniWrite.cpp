#include "data/ProfileIni.h"

#include "data/Cp1251.h"
#include "data/FileIO.h"
#include "data/ProfileIniDetail.h"

namespace pw {

using profile_detail::EncodeValue;
using profile_detail::HeaderNames;
using profile_detail::IsComment;
using profile_detail::IsSectionHeader;
using profile_detail::KeyEquals;
using profile_detail::NameOf;
using profile_detail::ProfileScan;
using profile_detail::TrimmedName;

namespace {

// One change of a file's bytes: [pos, pos + length) is replaced by text.
struct Edit {
    std::size_t pos = 0;
    std::size_t length = 0;
    std::string text;
};

// The change that writing key=value into section makes to bytes; std::nullopt when the file's encoding
// cannot hold the names or the value.
std::optional<Edit> PlanWrite(std::string_view bytes, std::string_view sectionText, std::string_view keyText,
                              std::string_view valueText, ProfileForm form) {
    ProfileScan scan(bytes);
    const std::optional<std::string> sectionName = NameOf(TrimmedName(sectionText), scan.Wide(), form);
    const std::optional<std::string> keyName = NameOf(TrimmedName(keyText), scan.Wide(), form);
    const std::optional<std::string> value = EncodeValue(valueText, scan.Wide(), form);
    if (!sectionName || !keyName || !value)
        return std::nullopt;
    const std::string_view section = *sectionName;
    const std::string_view key = *keyName;
    const std::string crlf = scan.Encode("\r\n");
    bool inSection = false;
    bool found = false;
    std::size_t insertAt = 0;      // after the section's last key line, or after its header
    bool insertNeedsBreak = false; // that line ends the file without a line break
    for (std::size_t pos = scan.Begin(); pos < scan.End();) {
        const ProfileScan::Line line = scan.LineAt(pos);
        pos = line.next;
        if (IsSectionHeader(scan, line)) {
            if (inSection)
                break;
            if (!found && HeaderNames(scan, line, section)) {
                inSection = found = true;
                insertAt = line.next;
                insertNeedsBreak = line.next == line.end;
            }
            continue;
        }
        if (!inSection || line.trimStart == line.trimEnd || IsComment(scan, line))
            continue;
        const std::size_t eq = KeyEquals(scan, line, key);
        if (eq != std::string_view::npos) {
            std::size_t nameEnd = eq;
            while (nameEnd > line.trimStart && scan.Unit(nameEnd - scan.UnitSize()) <= 32)
                nameEnd -= scan.UnitSize();
            std::string replacement(bytes.substr(line.trimStart, nameEnd - line.trimStart));
            replacement += scan.Encode("=") + *value;
            // Every line written ends with CR LF, the file's last one too.
            if (line.next == line.end)
                replacement += crlf;
            return Edit{line.start, line.end - line.start, std::move(replacement)};
        }
        insertAt = line.next;
        insertNeedsBreak = line.next == line.end;
    }
    const std::string keyLine = scan.Encode(std::string(key) + "=") + *value + crlf;
    if (found)
        return Edit{insertAt, 0, (insertNeedsBreak ? crlf : std::string()) + keyLine};
    const bool endsWithBreak = scan.End() == scan.Begin() || scan.IsBreak(scan.End() - scan.UnitSize());
    std::string header = "[";
    header.append(section).append("]");
    // A stray odd byte at the end of a UTF-16 file is no character; the new section replaces it.
    return Edit{scan.End(), bytes.size() - scan.End(),
                (endsWithBreak ? std::string() : crlf) + scan.Encode(header) + crlf + keyLine};
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
                             ProfileForm form)
    : mPieces{bytes, {}, {}} {
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
        std::optional<Edit> edit = PlanWrite(current, section, keyValues[i].first, keyValues[i].second, form);
        if (!edit) {
            mPossible = false;
            mPieces = {bytes, {}, {}};
            return;
        }
        mText = std::move(edit->text);
        mPieces = {current.substr(0, edit->pos), mText, current.substr(edit->pos + edit->length)};
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
