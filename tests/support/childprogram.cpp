// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "childprogram.h"

#include <QFile>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <vector>

QString ChildRun::outcome() const
{
    if (signal != 0)
        return QStringLiteral("<ended by signal %1: %2>").arg(signal).arg(errors);
    if (exitCode == 0)
        return QStringLiteral("<done>");
    if (exitCode == 1)
        return errors;
    return QStringLiteral("<exit status %1: %2>").arg(exitCode).arg(errors);
}

ChildRun runProgram(const QString &program, const QStringList &arguments, const std::function<void()> &prepare)
{
    // Everything the child needs is made before the fork: after it, only the preparation runs.
    std::vector<QByteArray> words { QFile::encodeName(program) };
    for (const QString &argument : arguments)
        words.push_back(QFile::encodeName(argument));
    std::vector<char *> argv;
    for (QByteArray &word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);

    ChildRun run;
    int pipeEnds[2];
    if (::pipe2(pipeEnds, O_CLOEXEC) != 0) {
        run.errors = QStringLiteral("<no pipe>");
        return run;
    }
    const pid_t child = ::fork();
    if (child == 0) {
        ::dup2(pipeEnds[1], STDERR_FILENO);
        const int null = ::open("/dev/null", O_WRONLY);
        ::dup2(null, STDOUT_FILENO);
        if (prepare)
            prepare();
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    ::close(pipeEnds[1]);
    QByteArray errors;
    char buffer[4096];
    for (ssize_t got; (got = ::read(pipeEnds[0], buffer, sizeof buffer)) != 0;) {
        if (got > 0)
            errors.append(buffer, got);
        else if (errno != EINTR)
            break;
    }
    ::close(pipeEnds[0]);
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) { }
    if (WIFEXITED(status))
        run.exitCode = WEXITSTATUS(status);
    else if (WIFSIGNALED(status))
        run.signal = WTERMSIG(status);
    run.errors = QString::fromLocal8Bit(errors).trimmed();
    return run;
}

QString benchProgram()
{
    return QStringLiteral(SALDRIX_BINARY_DIR "/bench/saldrix_bench");
}

QString editorProgram()
{
    return QStringLiteral(SALDRIX_BINARY_DIR "/app/yorvsaldrix");
}
