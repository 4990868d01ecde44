#ifndef PANELSTYLES_H
#define PANELSTYLES_H

#include <QString>

// The style sheets of the front panel's indicators.
namespace PanelStyles {
inline QString plain() { return QString(); }
inline QString highlight() { return QStringLiteral("color:rgb(0,255,0);font-weight:bold;"); }
inline QString outputOnButton() { return QStringLiteral("background-color:rgb(0,255,0);border: 1px solid #808080;"); }
inline QString outputOnText() { return QStringLiteral("color:rgb(0,255,0);"); }
inline QString outputOffText() { return QStringLiteral("color:rgb(255,0,0);"); }
} // namespace PanelStyles

#endif // PANELSTYLES_H
