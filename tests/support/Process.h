#pragma once
// Runs one of the program's binaries (or a tool such as pdftotext) as a
// separate process, as a teacher's command line would, and keeps what it said.

#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

#include <map>

struct Ran {
    int code = -1; // -1: killed by a signal or did not end in time
    QString out, err;
};

struct RunOptions {
    std::map<QString, QString> set; // environment variables given
    QStringList unset;              // and taken away
    QString workingDirectory;       // empty: the test's own
    int timeoutMs = 120000;
};

inline Ran runProcess(const QString &program, const QStringList &args, const RunOptions &options = {})
{
    QProcess p;
    if (!options.set.empty() || !options.unset.isEmpty()) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const QString &name : options.unset)
            env.remove(name);
        for (const auto &[name, value] : options.set)
            env.insert(name, value);
        p.setProcessEnvironment(env);
    }
    if (!options.workingDirectory.isEmpty())
        p.setWorkingDirectory(options.workingDirectory);
    p.start(program, args);
    Ran r;
    if (!p.waitForFinished(options.timeoutMs)) {
        p.kill();
        p.waitForFinished();
        return r;
    }
    r.out = QString::fromUtf8(p.readAllStandardOutput());
    r.err = QString::fromUtf8(p.readAllStandardError());
    if (p.exitStatus() == QProcess::NormalExit)
        r.code = p.exitCode();
    return r;
}

#ifdef SOREMUKA_PROGRAM
inline Ran soremuka(const QStringList &args, const RunOptions &options = {})
{
    return runProcess(QStringLiteral(SOREMUKA_PROGRAM), args, options);
}
#endif
