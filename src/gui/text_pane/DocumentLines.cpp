#include "gui/text_pane/DocumentLines.h"

#include <QTextBlock>
#include <QTextDocument>

namespace pw {

namespace {

// The characters at which a document starts a new block when text is put into it ("\r\n" counts
// once), and the document's own block separator in its raw text.
bool IsBlockBreak(QChar c) {
    return c == u'\n' || c == u'\r' || c == QChar::ParagraphSeparator || c == QChar(0xFDD0) ||
           c == QChar(0xFDD1);
}

// A change of more lines than this is read back as a whole.
constexpr int kManyLines = 2000;

// The one character that separates the lines of text, or a null character when there are several kinds.
QChar OnlyBreak(QStringView text) {
    if (text.contains(u'\r') || text.contains(QChar(0xFDD0)) || text.contains(QChar(0xFDD1)))
        return {};
    const bool lf = text.contains(u'\n');
    const bool paragraph = text.contains(QChar::ParagraphSeparator);
    if (lf && paragraph)
        return {};
    return paragraph ? QChar(QChar::ParagraphSeparator) : QChar(u'\n');
}

// Lines copied from a DocumentLines, with the text the unchanged ones point into.
class CopiedLines : public TextLines {
public:
    CopiedLines(QString backing, std::vector<QString> lines)
        : mBacking(std::move(backing)), mLines(std::move(lines)) {}
    qsizetype LineCount() const override { return static_cast<qsizetype>(mLines.size()); }
    QStringView Line(qsizetype index) const override { return mLines[static_cast<std::size_t>(index)]; }

private:
    QString mBacking;
    std::vector<QString> mLines;
};

} // namespace

std::shared_ptr<const TextLines> DocumentLines::Copy() const {
    return std::make_shared<CopiedLines>(mBacking, mLines);
}

DocumentLines::DocumentLines(QTextDocument* document, QString text) : QObject(document), mDocument(document) {
    connect(document, &QTextDocument::contentsChange, this, &DocumentLines::OnContentsChange);
    Reset(std::move(text));
}

void DocumentLines::Reset(QString text) {
    mBacking = std::move(text);
    mLines.clear();
    const QChar* const data = mBacking.constData();
    const qsizetype size = mBacking.size();
    qsizetype start = 0;
    mLines.reserve(static_cast<std::size_t>(mDocument->blockCount()));
    if (const QChar only = OnlyBreak(mBacking); !only.isNull()) {
        for (qsizetype end = mBacking.indexOf(only); end >= 0; end = mBacking.indexOf(only, start)) {
            mLines.push_back(QString::fromRawData(data + start, end - start));
            start = end + 1;
        }
    } else {
        for (qsizetype i = 0; i < size; ++i) {
            if (!IsBlockBreak(data[i]))
                continue;
            mLines.push_back(QString::fromRawData(data + start, i - start));
            if (data[i] == u'\r' && i + 1 < size && data[i + 1] == u'\n')
                ++i;
            start = i + 1;
        }
    }
    mLines.push_back(QString::fromRawData(data + start, size - start));
    CheckCount();
}

void DocumentLines::OnContentsChange(int position, int removed, int added) {
    if (mPaused > 0)
        return;
    const QTextBlock first = mDocument->findBlock(position);
    const qsizetype line = first.isValid() ? first.blockNumber() : -1;
    qsizetype column = position - first.position();
    if (line < 0 || line >= LineCount() || column > Line(line).size()) {
        ReadAllFromDocument();
        return;
    }
    // The old lines that the removed characters spanned: each line end counts as one character.
    qsizetype lastOld = line;
    for (qsizetype remaining = removed;;) {
        const qsizetype rest = Line(lastOld).size() - column;
        if (remaining <= rest || lastOld + 1 == LineCount())
            break;
        remaining -= rest + 1;
        ++lastOld;
        column = 0;
    }
    QTextBlock lastNew = mDocument->findBlock(position + added);
    if (!lastNew.isValid())
        lastNew = mDocument->lastBlock();
    if (lastNew.blockNumber() - line > kManyLines) {
        ReadAllFromDocument();
        return;
    }

    std::vector<QString> fresh;
    for (QTextBlock block = first; block.isValid(); block = block.next()) {
        fresh.push_back(block.text());
        if (block == lastNew)
            break;
    }
    const auto from = mLines.begin() + line;
    const std::size_t common =
        std::min<std::size_t>(fresh.size(), static_cast<std::size_t>(lastOld - line + 1));
    std::move(fresh.begin(), fresh.begin() + static_cast<std::ptrdiff_t>(common), from);
    if (fresh.size() > common)
        mLines.insert(from + static_cast<std::ptrdiff_t>(common),
                      std::make_move_iterator(fresh.begin() + common), std::make_move_iterator(fresh.end()));
    else
        mLines.erase(from + static_cast<std::ptrdiff_t>(common), mLines.begin() + lastOld + 1);
    CheckCount();
}

// The whole text in one string, the lines pointing into it: no small allocation per line is left
// behind, which matters after a change of the whole table (a replace of every line, its undo).
void DocumentLines::ReadAllFromDocument() {
    Reset(mDocument->toRawText());
}

void DocumentLines::CheckCount() {
    if (mPaused == 0 && LineCount() != mDocument->blockCount())
        ReadAllFromDocument();
}

} // namespace pw
