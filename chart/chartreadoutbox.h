#ifndef CHARTREADOUTBOX_H
#define CHARTREADOUTBOX_H

#include <QFont>
#include <QImage>
#include <QStringList>

// The read-out's lines in their see-through box, drawn into an image of
// their own. The lines change only with the cursors and the readings
// between them, while the layers below are redrawn at every zoom, pan and
// change of the axes; the box then costs one blend instead of laying out
// and drawing each of its glyphs again.
class ChartReadoutBox
{
public:
    // The box for these lines in this font; a null image for no lines.
    const QImage &image(const QStringList &lines, const QFont &font);

private:
    QImage box;
    QStringList boxLines;
    QFont boxFont;
};

#endif // CHARTREADOUTBOX_H
