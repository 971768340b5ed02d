#include "gui/text_pane/TextPane.h"

#include "gui/text_pane/DocumentLines.h"
#include "gui/text_pane/IniHighlighter.h"

#include <QKeyEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QTextBlock>
#include <QThread>

#include <stdexcept>

namespace pw {

// The strip left of the text that shows the line numbers; the pane paints it.
class LineNumberGutter : public QWidget {
public:
    explicit LineNumberGutter(TextPane* pane) : QWidget(pane), mPane(pane) {}

    QSize sizeHint() const override { return {mPane->GutterWidth(), 0}; }

protected:
    void paintEvent(QPaintEvent* event) override { mPane->PaintGutter(event); }

private:
    TextPane* mPane;
};

namespace {

constexpr int kGutterPadding = 4;

QFont PaneFont() {
    QFont font(QStringLiteral("Courier New"));
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    font.setPixelSize(13);
    return font;
}

// The character a key press types; Ctrl with a letter types its control code, as on the desktop the
// program comes from, whatever text the platform gives the event.
QChar TypedCharacter(const QKeyEvent& event) {
    const Qt::KeyboardModifiers modifiers = event.modifiers();
    if ((modifiers & Qt::ControlModifier) && !(modifiers & Qt::AltModifier) && event.key() >= Qt::Key_A &&
        event.key() <= Qt::Key_Z)
        return QChar(event.key() - Qt::Key_A + 1);
    return event.text().isEmpty() ? QChar() : event.text().front();
}

} // namespace

TextPane::TextPane(QWidget* parent)
    : QPlainTextEdit(parent), mGutter(new LineNumberGutter(this)), mLines(new DocumentLines(document(), {})) {
    setFont(PaneFont());
    setLineWrapMode(QPlainTextEdit::NoWrap);
    connect(this, &QPlainTextEdit::blockCountChanged, this, &TextPane::UpdateGutterWidth);
    connect(this, &QPlainTextEdit::updateRequest, this, &TextPane::UpdateGutter);
    UpdateGutterWidth();
}

void TextPane::LoadFromFile(const std::string& path) {
    ShowLoadedText(LoadTextFile(path));
}

PreparedText PrepareText(LoadedText loaded, QThread* owner) {
    PreparedText prepared{std::move(loaded), std::make_unique<QTextDocument>()};
    prepared.document->setPlainText(prepared.loaded.text);
    prepared.document->moveToThread(owner);
    return prepared;
}

void TextPane::ShowLoadedText(LoadedText loaded) {
    {
        DocumentLines::Pause pause(*mLines);
        setPlainText(loaded.text);
        mLines->Reset(std::move(loaded.text));
    }
    KeepFileDetails(loaded);
}

void TextPane::ShowPreparedText(PreparedText prepared) {
    QTextDocument* document = prepared.document.release();
    document->setParent(this); // so the next document shown deletes it
    document->setDefaultFont(font());
    document->setDocumentLayout(new QPlainTextDocumentLayout(document));
    setDocument(document);
    mLines = new DocumentLines(document, std::move(prepared.loaded.text));
    if (mColourAsIni)
        new IniHighlighter(document);
    UpdateGutterWidth();
    KeepFileDetails(prepared.loaded);
}

void TextPane::KeepFileDetails(const LoadedText& loaded) {
    mEncoding = loaded.encoding;
    mLineBreak = loaded.lineBreak;
    mSource = loaded.source;
}

QString TextPane::PlainText() const {
    QString text = document()->toRawText();
    text.replace(QChar::ParagraphSeparator, u'\n');
    return text;
}

void TextPane::ColourAsIni() {
    if (!mColourAsIni)
        new IniHighlighter(document());
    mColourAsIni = true;
}

const TextLines& TextPane::Lines() const {
    return *mLines;
}

TextSelection TextPane::Selection() const {
    const QTextCursor cursor = textCursor();
    const auto pointOf = [this](int position) {
        const QTextBlock block = document()->findBlock(position);
        return TextPoint{block.blockNumber(), position - block.position()};
    };
    return {pointOf(cursor.anchor()), pointOf(cursor.position())};
}

void TextPane::SetSelection(const TextSelection& selection) {
    const auto positionOf = [this](TextPoint point) {
        return document()->findBlockByNumber(static_cast<int>(point.line)).position() +
               static_cast<int>(point.column);
    };
    QTextCursor cursor(document());
    cursor.setPosition(positionOf(selection.anchor));
    cursor.setPosition(positionOf(selection.caret), QTextCursor::KeepAnchor);
    setTextCursor(cursor);
    ensureCursorVisible();
}

namespace {

// Throws the program's message for a pattern the engine cannot use.
void CheckPattern(const QString& search, const SearchOptions& options) {
    const QString error = SearchPatternError(search, options);
    if (!error.isEmpty())
        throw std::runtime_error(
            QStringLiteral("Invalid regular expression \"%1\": %2").arg(search, error).toStdString());
}

} // namespace

TextPane::ReplaceSearch TextPane::ReplaceAllLater(const QString& search, const QString& replace,
                                                  const SearchOptions& options) const {
    CheckPattern(search, options);
    return [lines = mLines->Copy(), current = Selection(), search, replace,
            options](const ProgressHook& progress) {
        return ReplaceAllText(*lines, current, search, replace, options, progress);
    };
}

int TextPane::Revision() const {
    return document()->revision();
}

bool TextPane::ApplyReplace(const ReplaceOutcome& outcome, int revision) {
    if (isReadOnly() || revision != Revision())
        return false;
    if (outcome.count > 0) {
        ApplyEdits(outcome.edits);
        SetSelection({outcome.caret, outcome.caret});
    }
    return true;
}

int TextPane::SearchReplace(const QString& search, const QString& replace, const SearchOptions& options) {
    CheckPattern(search, options);
    const TextSelection current = Selection();
    if (!options.replaceAll) {
        const std::optional<TextSelection> found = FindText(*mLines, current, search, options);
        if (found)
            SetSelection(*found);
        return found ? 1 : 0;
    }
    if (isReadOnly())
        return 0;
    const ReplaceOutcome outcome = ReplaceAllText(*mLines, current, search, replace, options);
    if (outcome.count > 0) {
        ApplyEdits(outcome.edits);
        SetSelection({outcome.caret, outcome.caret});
    }
    return outcome.count;
}

// Applies the edits as one undo step, from the last line up so that the earlier places stay valid.
void TextPane::ApplyEdits(const std::vector<LineEdit>& edits) {
    QTextCursor cursor(document());
    cursor.beginEditBlock();
    for (auto edit = edits.rbegin(); edit != edits.rend(); ++edit) {
        const int start = document()->findBlockByNumber(static_cast<int>(edit->line)).position();
        cursor.setPosition(start + static_cast<int>(edit->from));
        cursor.setPosition(start + static_cast<int>(edit->to), QTextCursor::KeepAnchor);
        cursor.insertText(edit->text);
    }
    cursor.endEditBlock();
}

void TextPane::keyPressEvent(QKeyEvent* event) {
    const QChar typed = TypedCharacter(*event);
    if (!typed.isNull())
        emit KeyPress(typed);
    QPlainTextEdit::keyPressEvent(event);
}

int TextPane::GutterWidth() const {
    int digits = 1;
    for (int lines = qMax(1, blockCount()); lines >= 10; lines /= 10)
        ++digits;
    return 2 * kGutterPadding + fontMetrics().horizontalAdvance(u'9') * digits;
}

void TextPane::resizeEvent(QResizeEvent* event) {
    QPlainTextEdit::resizeEvent(event);
    const QRect area = contentsRect();
    mGutter->setGeometry(QRect(area.left(), area.top(), GutterWidth(), area.height()));
}

void TextPane::UpdateGutterWidth() {
    setViewportMargins(GutterWidth(), 0, 0, 0);
}

void TextPane::UpdateGutter(const QRect& rect, int dy) {
    if (dy != 0)
        mGutter->scroll(0, dy);
    else
        mGutter->update(0, rect.y(), mGutter->width(), rect.height());
    if (rect.contains(viewport()->rect()))
        UpdateGutterWidth();
}

void TextPane::PaintGutter(QPaintEvent* event) {
    QPainter painter(mGutter);
    painter.setFont(font());
    painter.fillRect(event->rect(), palette().color(QPalette::Window));
    painter.setPen(palette().color(QPalette::PlaceholderText));
    const int width = mGutter->width() - kGutterPadding;
    const int lineHeight = fontMetrics().height();
    QTextBlock block = firstVisibleBlock();
    int top = qRound(blockBoundingGeometry(block).translated(contentOffset()).top());
    while (block.isValid() && top <= event->rect().bottom()) {
        const int bottom = top + qRound(blockBoundingRect(block).height());
        if (block.isVisible() && bottom >= event->rect().top())
            painter.drawText(0, top, width, lineHeight, Qt::AlignRight,
                             QString::number(block.blockNumber() + 1));
        block = block.next();
        top = bottom;
    }
}

} // namespace pw
