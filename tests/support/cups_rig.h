#pragma once

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QThread>

#include "support/files.h"

namespace ristemo::test {

// A CUPS scheduler of our own, answering at the socket base()/cups.sock, with queues that print
// into /dev/null and keep the submitted file in the spool folder. The test program points
// CUPS_SERVER at that socket and sets base() before the first rig starts.
class CupsRig {
public:
    static QString& base() {
        static QString path;
        return path;
    }
    static QString socket() { return base() + QStringLiteral("/cups.sock"); }

    CupsRig() : root_(dir_.filePath(QStringLiteral("etc"))) {
        // The paper a row chose with lpoptions must not follow into the next one.
        QFile::remove(base() + QStringLiteral("/.cups/lpoptions"));
        for (const char* sub : {"etc", "spool", "cache", "state", "tmp", "log"})
            QDir(dir_.path()).mkpath(QString::fromLatin1(sub));
        write(QStringLiteral("etc/cupsd.conf"),
              "Listen " + socket().toUtf8() +
                  "\nLogLevel warn\nBrowsing No\nWebInterface No\nPreserveJobFiles Yes\n"
                  "DefaultAuthType None\n<Location />\n  Order allow,deny\n  Allow all\n"
                  "</Location>\n<Policy default>\n  <Limit All>\n    Order deny,allow\n"
                  "  </Limit>\n</Policy>\n");
        const QByteArray d = dir_.path().toUtf8();
        write(QStringLiteral("etc/cups-files.conf"),
              "ServerRoot " + d + "/etc\nRequestRoot " + d + "/spool\nCacheDir " + d +
                  "/cache\nStateDir " + d + "/state\nTempDir " + d + "/tmp\nErrorLog " + d +
                  "/log/error_log\nAccessLog " + d + "/log/access_log\nPageLog " + d +
                  "/log/page_log\nPrintcap " + d + "/printcap\nFileDevice Yes\n");
    }
    ~CupsRig() { stop(); }

    // Starts the scheduler and waits until it answers.
    bool start() {
        daemon_.start(QStringLiteral("/usr/sbin/cupsd"),
                      {QStringLiteral("-f"), QStringLiteral("-c"), root_ + "/cupsd.conf",
                       QStringLiteral("-s"), root_ + "/cups-files.conf"});
        if (!daemon_.waitForStarted(10000)) return false;
        for (int i = 0; i < 100; ++i) {
            const ToolRun r = run_tool(QStringLiteral("lpstat"), {QStringLiteral("-r")});
            if (r.exit_code == 0 && r.out.startsWith("scheduler is running")) return true;
            if (daemon_.state() == QProcess::NotRunning) return false;
            QThread::msleep(100);
        }
        return false;
    }

    void stop() {
        if (daemon_.state() == QProcess::NotRunning) return;
        daemon_.terminate();
        if (!daemon_.waitForFinished(10000)) {
            daemon_.kill();
            daemon_.waitForFinished(5000);
        }
    }

    enum class Driver {
        TestPpd,  // kPpd below, its default page size paper
        CupsPdf,  // the PPD of cups-pdf (no margins), its default page size set to paper
        Raw,      // no PPD: the queue names only its media-default, paper
    };

    // A queue into /dev/null. As lpadmin makes them from a PPD, the queue's default paper comes
    // from the PPD alone: no "media" option names it.
    bool add_queue(const QString& name, const QString& paper, Driver driver) {
        QStringList args{QStringLiteral("-p"), name, QStringLiteral("-v"),
                         QStringLiteral("file:///dev/null"), QStringLiteral("-E")};
        switch (driver) {
            case Driver::TestPpd: {
                const QString ppd = name + QStringLiteral(".ppd");
                write(ppd, QByteArray(kPpd).replace('@', paper.toLatin1()));
                args << QStringLiteral("-P") << dir_.filePath(ppd);
                break;
            }
            case Driver::CupsPdf:
                EXPECT_TRUE(QFileInfo::exists(QString::fromLatin1(kCupsPdfPpd)))
                    << kCupsPdfPpd << " comes with printer-driver-cups-pdf (scripts/install-deps)";
                args << QStringLiteral("-P") << QString::fromLatin1(kCupsPdfPpd)
                     << QStringLiteral("-o") << QStringLiteral("PageSize=") + paper;
                break;
            case Driver::Raw:
                args << QStringLiteral("-o") << QStringLiteral("media-default=") + paper;
                break;
        }
        return admin(QStringLiteral("/usr/sbin/lpadmin"), args);
    }

    bool admin(const QString& program, const QStringList& args) {
        const ToolRun r = run_tool(program, args);
        EXPECT_TRUE(r.finished && r.exit_code == 0)
            << program.toStdString() << ": " << r.err.constData();
        return r.finished && r.exit_code == 0;
    }

    // The file CUPS spooled for a job.
    QString document(int job) const {
        return dir_.filePath(QStringLiteral("spool/d%1-001").arg(job, 5, 10, QLatin1Char('0')));
    }

    QByteArray log() const { return read_file(dir_.filePath(QStringLiteral("log/error_log"))); }

private:
    static constexpr const char* kCupsPdfPpd = "/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd";

    // Two papers with different printable areas; @ stands for the default one.
    static constexpr const char* kPpd =
        "*PPD-Adobe: \"4.3\"\n*FormatVersion: \"4.3\"\n*FileVersion: \"1.0\"\n"
        "*LanguageVersion: English\n*LanguageEncoding: ISOLatin1\n*PCFileName: \"TEST.PPD\"\n"
        "*Manufacturer: \"Test\"\n*Product: \"(Test)\"\n*ModelName: \"Test\"\n"
        "*ShortNickName: \"Test\"\n*NickName: \"Test\"\n*PSVersion: \"(3010.000) 0\"\n"
        "*LanguageLevel: \"3\"\n*ColorDevice: False\n*DefaultColorSpace: Gray\n"
        "*FileSystem: False\n*Throughput: \"1\"\n*TTRasterizer: Type42\n"
        "*cupsFilter: \"application/pdf 0 -\"\n"
        "*OpenUI *PageSize: PickOne\n*OrderDependency: 10 AnySetup *PageSize\n"
        "*DefaultPageSize: @\n*PageSize Letter: \"<</PageSize[612 792]>>setpagedevice\"\n"
        "*PageSize A4: \"<</PageSize[595 842]>>setpagedevice\"\n*CloseUI: *PageSize\n"
        "*OpenUI *PageRegion: PickOne\n*OrderDependency: 10 AnySetup *PageRegion\n"
        "*DefaultPageRegion: @\n*PageRegion Letter: \"<</PageSize[612 792]>>setpagedevice\"\n"
        "*PageRegion A4: \"<</PageSize[595 842]>>setpagedevice\"\n*CloseUI: *PageRegion\n"
        "*DefaultImageableArea: @\n*ImageableArea Letter: \"18 36 594 756\"\n"
        "*ImageableArea A4: \"12 24 583 818\"\n*DefaultPaperDimension: @\n"
        "*PaperDimension Letter: \"612 792\"\n*PaperDimension A4: \"595 842\"\n";

    void write(const QString& name, const QByteArray& text) {
        EXPECT_TRUE(write_file(dir_.filePath(name), text)) << name.toStdString();
    }

    QTemporaryDir dir_{base() + QStringLiteral("/rig-XXXXXX")};
    QString root_;
    QProcess daemon_;
};

}  // namespace ristemo::test
