#pragma once
// The faces layer files name and the free faces drawn in their place, read
// from the data file Data/FontSubstitutes.tsv of the installed data (one line
// per face: face, substitute, match, weight, Debian package, font files).
#include <QString>
#include <QStringList>

#include <vector>

namespace corvan::emf {

struct FontSubstitute {
    QString face;        // as layer files name it
    QString substitute;  // the family drawn instead
    QString match;       // "metric" or "look-alike"
    int weight = 0;      // at least this weight; 0 keeps the font's own
    QString package;     // the Debian package that brings the substitute
    QStringList files;   // registered when the substitute is not installed
};

// Parses the table's text; lines that are empty, comments or short are left out.
std::vector<FontSubstitute> ParseFontTable(const QString& text);
// The table of the installed data, read once per run (empty when missing).
const std::vector<FontSubstitute>& FontTable();
// The row for `face` (letter case ignored), or null.
const FontSubstitute* FindSubstitute(const QString& face);
// The family text output draws for `face` with its fallbacks: the substitute's
// files are registered first when it is not installed. A face that ends on
// a fallback family is logged once per run.
QString ResolvedFamily(const QString& face);
// The family the font system actually draws for `family`, without the
// foundry it may add to tell same-named families apart ("Name [foundry]").
QString DrawnFamily(const QString& family);

}  // namespace corvan::emf
