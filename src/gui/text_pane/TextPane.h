#pragma once
// The program's text pane: a plain-text editor in a fixed-pitch font with a line-number gutter, that
// reads a file keeping its encoding and line end for writing it back, finds and replaces text, reports
// typed characters and can colour its text as INI. Every editor pane of the program (the string table,
// the raw dialogue and quest files) is one.

#include "gui/text_pane/TextFile.h"
#include "gui/text_pane/TextSearch.h"

#include <QPlainTextEdit>

#include <functional>
#include <memory>
#include <string>

class QThread;

namespace pw {

class DocumentLines;

// A file's text already in a document of its own, so that a large text can be made ready off the
// window's thread and shown at once.
struct PreparedText {
    LoadedText loaded;
    std::unique_ptr<QTextDocument> document;
};

// Puts loaded's text into a new document, on whatever thread calls it, and hands the document over to
// the thread owner (the window's), where ShowPreparedText takes it.
PreparedText PrepareText(LoadedText loaded, QThread* owner);

class TextPane : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit TextPane(QWidget* parent = nullptr);

    // Shows the whole text of the file at path (native bytes), decoded by its byte-order mark or as
    // Windows-1251. Throws std::runtime_error ("Cannot open file "%s". %s"); the pane keeps its text then.
    void LoadFromFile(const std::string& path);
    // Shows text read from a file and keeps its encoding, line end and fingerprint. Clears the undo history.
    void ShowLoadedText(LoadedText loaded);
    // The same with the text already in a document (see PrepareText), which the pane takes over.
    void ShowPreparedText(PreparedText prepared);

    // How the last loaded file was encoded, which line end it gets back, and what its bytes were.
    TextEncoding Encoding() const { return mEncoding; }
    LineBreak LineBreakStyle() const { return mLineBreak; }
    const FileFingerprint& Source() const { return mSource; }
    // After the pane's text was written to its file: what the file holds now.
    void SetSource(const FileFingerprint& source) { mSource = source; }

    // The whole text with '\n' between the lines, every character as it is in the pane.
    QString PlainText() const;

    // Colours the text as INI from now on.
    void ColourAsIni();

    // The pane's lines for the search engine, always in step with the text.
    const TextLines& Lines() const;
    TextSelection Selection() const;
    // Selects from anchor to caret and scrolls the caret into view.
    void SetSelection(const TextSelection& selection);

    // Finds or replaces with the options (see FindText and ReplaceAllText): a find selects the
    // occurrence; a replace changes every occurrence as one undo step and leaves the caret after the
    // last. Returns the number found (0 or 1) or replaced; 0 for an empty search text and, for a
    // replace, in a read-only pane. Throws std::runtime_error for a regular expression that does not
    // compile, the pane unchanged.
    int SearchReplace(const QString& search, const QString& replace, const SearchOptions& options);

    // A replace of every occurrence (as SearchReplace makes it) in two steps, so that the search may run
    // on another thread: ReplaceAllLater takes the lines and the selection as they are now and returns the
    // search, which gives the edits; ApplyReplace makes them one undo step, the caret after the last, while
    // the text is still at revision (Revision() when the search was taken). Returns whether it did; the
    // text is unchanged when it was changed meanwhile or the pane is read-only. ReplaceAllLater throws
    // std::runtime_error for a regular expression that does not compile.
    using ReplaceSearch = std::function<ReplaceOutcome(const ProgressHook& progress)>;
    ReplaceSearch ReplaceAllLater(const QString& search, const QString& replace,
                                  const SearchOptions& options) const;
    int Revision() const;
    bool ApplyReplace(const ReplaceOutcome& outcome, int revision);

signals:
    // A typed character; Ctrl with a letter reports the control code (Ctrl+S is 19).
    void KeyPress(QChar key);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    friend class LineNumberGutter;

    void ApplyEdits(const std::vector<LineEdit>& edits);
    void KeepFileDetails(const LoadedText& loaded);
    int GutterWidth() const;
    void PaintGutter(QPaintEvent* event);
    void UpdateGutterWidth();
    void UpdateGutter(const QRect& rect, int dy);

    QWidget* mGutter = nullptr;
    DocumentLines* mLines = nullptr; // a child of the document
    bool mColourAsIni = false;
    TextEncoding mEncoding = TextEncoding::Ansi;
    LineBreak mLineBreak = LineBreak::CrLf;
    FileFingerprint mSource;
};

} // namespace pw
