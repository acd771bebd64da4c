#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <functional>
#include <memory>

class QSaveFile;

// Whole-file reads and replacing writes, the only two ways the INI layer touches the disk.

enum class ReadOutcome { Read, Missing, Unreadable };

// Reads the named file into bytes. Only regular files are read: a folder, a FIFO or a device is
// Unreadable and is never waited on. A name that does not exist (or a dangling link) is Missing.
ReadOutcome readWholeFile(const QString &fileName, QByteArray &bytes);

// Reads the same files piece by piece into one reused buffer, for a look at a file that need not be
// kept. Every piece but the last is exactly pieceSize bytes long. A read error after some pieces
// makes the result Unreadable.
ReadOutcome readFileInPieces(
    const QString &fileName, qsizetype pieceSize, const std::function<void(QByteArrayView)> &piece);

// Replaces a file's content in one step: the bytes go to a temporary file beside it, which takes the
// file's place only when every byte was written, so a failed save leaves the old file as it was.
// Links are followed (the link stays a link) and the file keeps its permission bits. Where the
// folder allows no temporary file, the file itself is rewritten from its start. Every failure
// throws SaldrixError("Unable to write to <name>").
class FileReplacer {
public:
    explicit FileReplacer(QString fileName);
    ~FileReplacer();
    FileReplacer(const FileReplacer &) = delete;
    FileReplacer &operator=(const FileReplacer &) = delete;

    void write(QByteArrayView bytes);
    void commit();

private:
    [[noreturn]] void fail() const;

    QString m_fileName;
    std::unique_ptr<QSaveFile> m_file;
    int m_deviceFd = -1;
};
