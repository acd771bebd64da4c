// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QString>

// The export's output file. It is created anew (an existing file is truncated and rewritten; a
// name that leads to a FIFO, a device or a folder is refused at once, never waited on),
// written through a buffer, and every system call is checked: a failing write, flush or close
// throws SaldrixError with the reason worded from the system's error number.
class ExportFile {
    Q_DECLARE_TR_FUNCTIONS(ExportFile)

public:
    ExportFile() = default;
    // Closes a file that is still open without reporting errors: only reached on a failure path.
    ~ExportFile();
    ExportFile(const ExportFile &) = delete;
    ExportFile &operator=(const ExportFile &) = delete;

    void create(const QString &fileName);
    void write(const char *data, qsizetype size);
    void write(const QByteArray &bytes) { write(bytes.constData(), bytes.size()); }
    // Hands everything buffered to the system.
    void flush();
    // Flushes and closes; a failure of either is reported.
    void close();

    [[nodiscard]] bool isOpen() const { return m_fd >= 0; }
    // Bytes accepted so far, buffered ones included.
    [[nodiscard]] qint64 size() const { return m_written + m_buffer.size(); }

    // The user's text for a system error number.
    [[nodiscard]] static QString errorText(int error);
    // True when both names lead to one existing file (symbolic and hard links resolved).
    [[nodiscard]] static bool isSameFile(const QString &a, const QString &b);

private:
    void writeThrough(const char *data, qsizetype size);

    int m_fd = -1;
    qint64 m_written = 0;
    QByteArray m_buffer;
};
