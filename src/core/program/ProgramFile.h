#pragma once

#include "program/Program.h"
#include "text/Phrase.h"

#include <QByteArray>
#include <QString>

#include <optional>

// A program as a versioned JSON document, and the plain CSV list of
// dwell_s,voltage_V,current_A other instruments use. Reading refuses
// unknown keys, newer versions and values of the wrong kind, naming the line
// and the key.
class ProgramFile {
public:
    // 2 added the program's limits, its battery, conditions that stop it and
    // the flat voltage.
    static constexpr int kVersion = 2;
    // Bounds on what is read, against hostile files.
    static constexpr qsizetype kMaxBytes = 1 << 20;
    static constexpr int kMaxGroupDepth = 16;
    static constexpr int kMaxSteps = 10000;

    // A program, or why none was read.
    struct Read {
        Read(Program read);
        Read(const Phrase& refusal);

        std::optional<Program> program;
        Phrase why;
        QString problem; // `why` in the window's words; empty when read
    };

    static Read fromJson(const QByteArray& text);
    static QByteArray toJson(const Program& program);
    // Each row a step with the output on for its dwell; a header line is optional.
    static Read fromCsv(const QByteArray& text);
    // Finite groups written out in order. None when the program holds what
    // the list cannot carry (a condition, a ramp, a kept value or output, the
    // output off, a group repeated until stopped, more than kMaxSteps rows,
    // limits of its own); `problem` then says what.
    static std::optional<QByteArray> toCsv(const Program& program, QString* problem = nullptr);

    // By the file's suffix, .csv or anything else as JSON; problems name the file.
    static Read load(const QString& path);
    // Written whole or not at all; the problem, or empty.
    static QString save(const QString& path, const Program& program);
};
