#include "shell/gamedata.h"

#include "regions/evolutiontable.h"

#include <QFile>

namespace GameData {

namespace {

// Names from a compiled-in text file, one a line, behind the placeholder row 0.
QStringList namesAfter(const QString &placeholder, const QString &resource)
{
    QStringList rows{placeholder};
    QFile file(resource);
    if (file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        for (const QString &line : QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'))) {
            if (!line.isEmpty())
                rows << line;
        }
    }
    return rows;
}

} // namespace

QStringList methodRows()
{
    QStringList rows = namesAfter(QString(), QStringLiteral(":/methods.txt"));
    rows.removeFirst();
    const QString item109 = itemRows().value(109);
    for (QString &row : rows)
        row.replace(QLatin1String("{item 109}"), item109);
    return rows;
}

QStringList levelRows()
{
    QStringList rows;
    for (int level = 0; level <= 100; ++level)
        rows << QString::number(level);
    return rows;
}

QStringList itemRows()
{
    static const QStringList rows = namesAfter(QStringLiteral("None"), QStringLiteral(":/items.txt"));
    return rows;
}

QStringList speciesRows()
{
    static const QStringList rows = namesAfter(QStringLiteral("??????????"), QStringLiteral(":/species.txt"));
    return rows;
}

QStringList moveRows()
{
    static const QStringList rows = namesAfter(QStringLiteral("None"), QStringLiteral(":/moves.txt"));
    return rows;
}

QStringList regionRows(int region)
{
    return speciesRows().mid(RegionFirstSpecies.at(region), RegionRowCount.at(region));
}

} // namespace GameData
