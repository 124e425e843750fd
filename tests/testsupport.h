#pragma once

#include "regions/evolutiontable.h"
#include "shell/hexcore.h"
#include "shell/platform.h"

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QPair>
#include <QString>
#include <QTemporaryDir>

#include <cstdint>
#include <memory>

class Form1;
class ListBox;
class QRadioButton;

namespace TestSupport {

// One past the last byte the editor may touch (species 493, +5).
inline constexpr std::int32_t TableEnd = EvolutionBlock::offset(493) + 6;

// A sparse ROM file in a private folder: only the bytes written take disk.
class TestRom {
public:
    explicit TestRom(qint64 size = TableEnd + 4096, const QString &fileName = QStringLiteral("game.nds"));

    [[nodiscard]] QString path() const { return m_path; }
    [[nodiscard]] QString dir() const { return m_dir.path(); }

    void write(qint64 offset, const QByteArray &bytes) const;
    [[nodiscard]] QByteArray read(qint64 offset, qint64 count) const;
    // The six entry bytes of a species.
    void writeEntry(int species, const QByteArray &sixBytes) const;
    [[nodiscard]] QByteArray entry(int species) const;
    [[nodiscard]] qint64 size() const;

    // Every byte that holds data (the holes of the sparse file read as zero),
    // keyed by offset: two snapshots compare the whole file cheaply.
    [[nodiscard]] QMap<qint64, QByteArray> snapshot() const;

private:
    QTemporaryDir m_dir;
    QString m_path;
};

// The snapshot of any file, as TestRom::snapshot() takes it.
[[nodiscard]] QMap<qint64, QByteArray> snapshotOf(const QString &path);

// Offsets at which two snapshots differ.
[[nodiscard]] QList<qint64> changedOffsets(const QMap<qint64, QByteArray> &before,
                                           const QMap<qint64, QByteArray> &after);

// Records every message box instead of showing it.
class MessageRecorder {
public:
    MessageRecorder();
    ~MessageRecorder();
    struct Box { QString text; QString title; };
    QList<Box> boxes;
};

// Answers the file chooser from a script and records the requests.
class ScriptedChooser {
public:
    ScriptedChooser();
    ~ScriptedChooser();
    void choose(const QString &path, int filterIndex = 1);
    void cancel();
    QList<Platform::FileRequest> requests;

private:
    QList<Platform::FileAnswer> m_answers;
};

// Records every read and write of the file functions.
class AccessRecorder {
public:
    AccessRecorder();
    ~AccessRecorder();
    QList<HexCore::Access> accesses;
    // Offset and count of each read or write, in order.
    [[nodiscard]] QList<QPair<std::int32_t, std::int32_t>> of(HexCore::Access::Kind kind) const;
    [[nodiscard]] QList<QPair<std::int32_t, std::int32_t>> reads() const { return of(HexCore::Access::Read); }
    [[nodiscard]] QList<QPair<std::int32_t, std::int32_t>> writes() const { return of(HexCore::Access::Write); }
};

// The reads of one species load from its block, in order: method byte, level byte,
// the parameter word for each of the three word pickers, target word.
[[nodiscard]] QList<QPair<std::int32_t, std::int32_t>> loadReads(std::int32_t block);

// Records "Exit" instead of ending the test program.
class QuitRecorder {
public:
    QuitRecorder();
    ~QuitRecorder();
    int quits = 0;
};

// The region list and region button of a region (1 to 4).
[[nodiscard]] ListBox *regionList(Form1 &form, int region);
[[nodiscard]] QRadioButton *regionButton(Form1 &form, int region);

// Drives the real window as a user would.
void openRom(Form1 &form, const QString &path);      // "Open" with a chooser that picks path
void chooseRegion(Form1 &form, int region);           // click the region's option button
void selectRow(ListBox *list, int row);               // select a row, raising its click
void pressSave(Form1 &form);

// Number of file descriptors open in this process.
[[nodiscard]] int openDescriptorCount();

} // namespace TestSupport
