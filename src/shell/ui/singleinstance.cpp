#include "shell/ui/singleinstance.h"

#include "platform/debuglog.h"

#include <QLocalServer>
#include <QLocalSocket>
#include <QRegularExpression>

#include <unistd.h>

namespace corvan {

namespace {
constexpr int kTimeoutMs = 2000;
}  // namespace

QByteArray MakeHandOver(const QString& program, const QStringList& arguments) {
    // The blank after the quoted program stays even without arguments, so
    // the first copy then gets an empty argument and loads nothing.
    QByteArray text = ("\"" + program + "\" " + arguments.join(' ')).toLocal8Bit();
    text.truncate(kHandOverTextMax);
    QByteArray block(kHandOverSize, '\0');
    std::copy(text.begin(), text.end(), block.begin() + 4);
    return block;
}

std::optional<std::string> ReadHandOver(const QByteArray& block) {
    if (block.size() != kHandOverSize) return std::nullopt;
    const int end = block.indexOf('\0', 4);
    if (end < 0) return std::nullopt;
    return std::string(block.constData() + 4, static_cast<std::size_t>(end - 4));
}

std::string HandOverArgument(const std::string& commandLine) {
    const std::size_t at = commandLine.find("\" ");
    if (at != std::string::npos) return commandLine.substr(at + 2);
    return commandLine.empty() ? std::string() : commandLine.substr(1);
}

QString InstanceName() {
    const QByteArray forced = qgetenv("CORVANRIP_INSTANCE");
    if (!forced.isEmpty()) return QString::fromLocal8Bit(forced);
    QString display = qEnvironmentVariable("WAYLAND_DISPLAY", qEnvironmentVariable("DISPLAY"));
    display.replace(QRegularExpression(QStringLiteral("[^A-Za-z0-9_.-]")), QStringLiteral("_"));
    return QStringLiteral("corvanrip-%1-%2").arg(getuid()).arg(display);
}

SingleInstance::SingleInstance(QString name, QObject* parent)
    : QObject(parent), name_(std::move(name)) {}

SingleInstance::~SingleInstance() = default;

bool SingleInstance::Listening() const {
    return server_ && server_->isListening();
}

bool SingleInstance::HandOverOrListen(const QByteArray& block) {
    QLocalSocket first;
    first.connectToServer(name_);
    if (first.waitForConnected(kTimeoutMs)) {
        first.write(block);
        first.waitForBytesWritten(kTimeoutMs);
        first.disconnectFromServer();
        return true;
    }
    // Nobody answers: a socket left by a copy that crashed is removed.
    QLocalServer::removeServer(name_);
    server_ = new QLocalServer(this);
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    connect(server_, &QLocalServer::newConnection, this, &SingleInstance::Accept);
    if (!server_->listen(name_))
        LogLine("Single instance: cannot listen on " + name_.toStdString() + ": " +
                server_->errorString().toStdString());
    return false;
}

void SingleInstance::Accept() {
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
        connect(socket, &QLocalSocket::readyRead, socket, [this, socket] {
            if (socket->bytesAvailable() < kHandOverSize) return;
            const auto line = ReadHandOver(socket->read(kHandOverSize));
            socket->readAll();  // anything after the block is not ours
            socket->disconnectFromServer();
            if (!line) {
                LogLine("Single instance: a hand-over without its end was refused");
                return;
            }
            LogLine("Hand-over: " + *line);
            Q_EMIT ArgumentReceived(QString::fromLocal8Bit(HandOverArgument(*line)));
        });
        connect(socket, &QLocalSocket::disconnected, socket, [socket] {
            if (socket->bytesAvailable() > 0)
                LogLine("Single instance: a short hand-over was refused");
            socket->deleteLater();
        });
    }
}

}  // namespace corvan
