#pragma once
// The text mark drawn on a screenshot: its settings, and the drawing of its outlined text into a
// corner of a picture.

#include <QColor>
#include <QFont>
#include <QRectF>
#include <QString>

class QImage;

namespace pw {

enum TMarkPos { wpTopLeft, wpTopRight, wpBottomLeft, wpBottomRight };

// The settings of one mark. The setters store the value and do nothing else.
class TWaterMark {
public:
    TWaterMark();

    // Carried as a setting only: a capture draws its mark whether or not it is enabled.
    bool Enabled() const { return mEnabled; }
    void SetEnabled(bool enabled) { mEnabled = enabled; }
    const QString& Text() const { return mText; }
    void SetText(const QString& text) { mText = text; }
    // The family and the size are used (the size taken as pixels); the style is not, the mark is always
    // bold. A Qt font carries no colour, so the font's colour, the fill of the mark, is FontColor.
    const QFont& Font() const { return mFont; }
    void SetFont(const QFont& font) { mFont = font; }
    const QColor& FontColor() const { return mFontColor; }
    void SetFontColor(const QColor& color) { mFontColor = color; }
    // The outline around each letter.
    const QColor& CircuitColor() const { return mCircuitColor; }
    void SetCircuitColor(const QColor& color) { mCircuitColor = color; }
    int CircuitWidth() const { return mCircuitWidth; }
    void SetCircuitWidth(int width) { mCircuitWidth = width; }
    TMarkPos Position() const { return mPosition; }
    void SetPosition(TMarkPos position) { mPosition = position; }

private:
    bool mEnabled = false;
    QString mText;
    QFont mFont;
    QColor mFontColor;
    QColor mCircuitColor;
    int mCircuitWidth = 2;
    TMarkPos mPosition = wpBottomRight;
};

// A font of the given family and size; a family missing on this machine falls back to a sans face.
QFont MarkFont(const QString& family, int size, bool bold);

// Draws the mark's text, outlined and filled, into its corner of picture and returns the rectangle the
// mark fills: the bounds of the outlined text, flush with the picture's edges at its corner. An empty
// text draws nothing and returns an empty rectangle.
QRectF DrawWaterMark(QImage& picture, const TWaterMark& mark);

} // namespace pw
