#pragma once
// Runs the headless driver on a script and reads its dump, for end-to-end
// tests.
#include <QDir>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

struct DriveRun {
    int exitCode = -1;
    QString stdErr;
    QTemporaryDir dir;

    QString path(const QString &name) const { return dir.filePath(name); }

    // Runs the script; "@" in the script stands for the run's own folder.
    int run(QString script, const QStringList &extraArgs = {})
    {
        script.replace(u'@', dir.path());
        const QString file = path(QStringLiteral("script.txt"));
        QFile f(file);
        f.open(QIODevice::WriteOnly);
        f.write(script.toUtf8());
        f.close();
        QProcess p;
        p.setProcessChannelMode(QProcess::SeparateChannels);
        p.start(QStringLiteral(SOREMUKA_DRIVE), extraArgs + QStringList{file});
        p.waitForFinished(120000);
        stdErr = QString::fromLocal8Bit(p.readAllStandardError());
        exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
        return exitCode;
    }

    QJsonObject json(const QString &name) const
    {
        QFile f(path(name));
        f.open(QIODevice::ReadOnly);
        return QJsonDocument::fromJson(f.readAll()).object();
    }
};
