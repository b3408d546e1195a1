// The program takes no command line. Started with the options that Qt
// itself would act on, with a very long argument or with bytes that are not
// UTF-8, the real executable must start as it does without arguments, print
// nothing more and open none of the files that the options name.
//
// A named file is a FIFO: whoever opens it to read blocks there until a
// writer comes, and while a reader waits, a writer's non-blocking open
// succeeds. So the test sees an attempt to read it even if nothing is read.
#include <QElapsedTimer>
#include <QFile>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <vector>

namespace {

/// How long the program must keep running to count as started normally.
constexpr int kRunMs = 1500;

struct Outcome {
    QString failure;         ///< Empty if the program could be started.
    bool running = false;    ///< Still running when the time was up.
    int status = 0;          ///< waitpid status, if it ended by itself.
    bool openedFifo = false; ///< Someone had the FIFO open for reading.
    QByteArray out;
    QByteArray err;
};

bool someoneReads(const QByteArray& fifo)
{
    const int fd = ::open(fifo.constData(), O_WRONLY | O_NONBLOCK);
    if (fd < 0)
        return false;
    ::close(fd);
    return true;
}

/// Runs `program` with `arguments` on the offscreen platform for up to
/// `ms` milliseconds, then kills it.
Outcome run(const QByteArray& program, const QByteArrayList& arguments, const QByteArray& fifo,
            int ms = kRunMs)
{
    Outcome outcome;
    QTemporaryDir dir;
    const QByteArray outPath = QFile::encodeName(dir.filePath(QStringLiteral("stdout")));
    const QByteArray errPath = QFile::encodeName(dir.filePath(QStringLiteral("stderr")));

    QByteArrayList argumentStore{program};
    argumentStore += arguments;
    std::vector<char*> argv;
    for (QByteArray& argument : argumentStore)
        argv.push_back(argument.data());
    argv.push_back(nullptr);

    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    QByteArrayList environmentStore;
    for (const QString& variable : environment.toStringList())
        environmentStore << variable.toLocal8Bit();
    std::vector<char*> envp;
    for (QByteArray& variable : environmentStore)
        envp.push_back(variable.data());
    envp.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, outPath.constData(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0600);
    posix_spawn_file_actions_addopen(&actions, 2, errPath.constData(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0600);
    pid_t pid = 0;
    const int spawned =
        posix_spawn(&pid, program.constData(), &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) {
        outcome.failure =
            QStringLiteral("cannot start %1: %2")
                .arg(QString::fromLocal8Bit(program), QString::fromLocal8Bit(strerror(spawned)));
        return outcome;
    }

    QElapsedTimer clock;
    clock.start();
    bool ended = false;
    while (!ended && clock.elapsed() < ms) {
        ended = waitpid(pid, &outcome.status, WNOHANG) == pid;
        if (!ended)
            QThread::msleep(20);
    }
    if (!ended) {
        outcome.running = true;
        outcome.openedFifo = someoneReads(fifo);
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
    }

    QFile out(QString::fromLocal8Bit(outPath));
    QFile err(QString::fromLocal8Bit(errPath));
    if (out.open(QIODevice::ReadOnly))
        outcome.out = out.readAll();
    if (err.open(QIODevice::ReadOnly))
        outcome.err = err.readAll();
    return outcome;
}

QString describe(const Outcome& outcome)
{
    if (!outcome.failure.isEmpty())
        return outcome.failure;
    if (outcome.running)
        return QStringLiteral("running");
    if (WIFSIGNALED(outcome.status))
        return QStringLiteral("killed by signal %1; stderr: %2")
            .arg(WTERMSIG(outcome.status))
            .arg(QString::fromLocal8Bit(outcome.err));
    return QStringLiteral("ended with status %1; stderr: %2")
        .arg(WEXITSTATUS(outcome.status))
        .arg(QString::fromLocal8Bit(outcome.err));
}

} // namespace

class TestCommandLine : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QByteArray m_fifo;
    Outcome m_plain; ///< Without arguments.

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_fifo = QFile::encodeName(m_dir.filePath(QStringLiteral("named.fifo")));
        QVERIFY(mkfifo(m_fifo.constData(), 0600) == 0);
        m_plain = run(DILMORA_EXECUTABLE, {}, m_fifo);
        QVERIFY2(m_plain.running, qPrintable(describe(m_plain)));
    }

    void fifoShowsAReader()
    {
        // The probe itself: a program that reads the FIFO is caught.
        const Outcome reader = run("/bin/cat", {m_fifo}, m_fifo, 300);
        QVERIFY2(reader.running, qPrintable(describe(reader)));
        QVERIFY(reader.openedFifo);
        QVERIFY(!someoneReads(m_fifo));
    }

    void argumentsChangeNothing_data()
    {
        QTest::addColumn<QByteArrayList>("arguments");
        const QByteArray& fifo = m_fifo;
        QTest::newRow("style sheet file") << QByteArrayList{"-stylesheet", fifo};
        QTest::newRow("style sheet file in one argument") << QByteArrayList{"-stylesheet=" + fifo};
        QTest::newRow("window icon file") << QByteArrayList{"-qwindowicon", fifo};
        QTest::newRow("Fusion style") << QByteArrayList{"-style", "fusion"};
        QTest::newRow("Windows style") << QByteArrayList{"-style", "windows"};
        QTest::newRow("Windows style in one argument") << QByteArrayList{"-style=windows"};
        QTest::newRow("platform theme") << QByteArrayList{"-platformtheme", "x"};
        QTest::newRow("platform that does not exist") << QByteArrayList{"-platform", "nonexistent"};
        QTest::newRow("right to left") << QByteArrayList{"-reverse"};
        QTest::newRow("help") << QByteArrayList{"--help"};
        QTest::newRow("window geometry") << QByteArrayList{"-qwindowgeometry", "10x10+0+0"};
        QTest::newRow("100 kB argument") << QByteArrayList{QByteArray(100 * 1024, 'x')};
        QTest::newRow("bytes that are not UTF-8") << QByteArrayList{"\xff\xfe\xc3\x28", "-\x80"};
    }

    void argumentsChangeNothing()
    {
        QFETCH(QByteArrayList, arguments);
        const Outcome outcome = run(DILMORA_EXECUTABLE, arguments, m_fifo);
        QVERIFY2(outcome.running, qPrintable(describe(outcome)));
        QVERIFY2(!outcome.openedFifo, "the program opened the file that an option names");
        QCOMPARE(outcome.err, m_plain.err);
        QCOMPARE(outcome.out, m_plain.out);
    }
};

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_command_line.moc"
