#pragma once
// The lines of a pane's document as plain strings, kept in step with every change of the document.
// Reading a line of a QTextDocument walks its internal trees each time, which makes a search through a
// table of 100,000 lines take too long; this copy lets the search engine read every line at memory speed.

#include "gui/text_pane/TextSearch.h"

#include <QObject>
#include <QString>

#include <memory>
#include <vector>

class QTextDocument;

namespace pw {

class DocumentLines : public QObject, public TextLines {
    Q_OBJECT
public:
    // Follows document, which owns this object; text is what it holds now (see Reset).
    DocumentLines(QTextDocument* document, QString text);

    qsizetype LineCount() const override { return static_cast<qsizetype>(mLines.size()); }
    QStringView Line(qsizetype index) const override { return mLines[static_cast<std::size_t>(index)]; }

    // Takes the lines from text, which is what the document was just set to or its raw text (lines split
    // where the document splits its blocks). The lines keep pointing into text, so no line is copied.
    void Reset(QString text);

    // The lines as they are now, for another thread to read while this object goes on following the
    // document.
    std::shared_ptr<const TextLines> Copy() const;

    // Stops following the document while the caller changes it and then calls Reset.
    class Pause {
    public:
        explicit Pause(DocumentLines& lines) : mLines(lines) { ++mLines.mPaused; }
        ~Pause() {
            --mLines.mPaused;
            mLines.CheckCount();
        }
        Pause(const Pause&) = delete;
        Pause& operator=(const Pause&) = delete;

    private:
        DocumentLines& mLines;
    };

private:
    void OnContentsChange(int position, int removed, int added);
    void ReadAllFromDocument();
    void CheckCount();

    QTextDocument* mDocument;
    QString mBacking; // the text the unchanged lines point into
    std::vector<QString> mLines;
    int mPaused = 0;
};

} // namespace pw
