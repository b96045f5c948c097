#pragma once
// One copy of the program per user and desktop session. The first copy
// listens on a local socket named for the user and the display; a second
// copy started with a file hands its command line over and ends, and the
// first copy comes to the front and loads the file. The hand-over is one
// 1028-byte block: four bytes (zero; there is no window handle to pass),
// then the command line, at most 1022 characters and a zero byte.
#include <QObject>
#include <QString>
#include <QStringList>

#include <optional>
#include <string>

class QLocalServer;

namespace corvan {

inline constexpr int kHandOverSize = 1028;
inline constexpr int kHandOverTextMax = 1022;

// The block a second copy sends: `"PROGRAM" ARG ARG...`, cut to 1022 characters.
QByteArray MakeHandOver(const QString& program, const QStringList& arguments);
// The command line of a well-formed block; none for any other data.
std::optional<std::string> ReadHandOver(const QByteArray& block);
// What the first copy loads: the text after the first double quote that is
// followed by a blank, else the command line without its first character.
std::string HandOverArgument(const std::string& commandLine);

// The socket name for this user and display (CORVANRIP_INSTANCE overrides it).
QString InstanceName();

class SingleInstance : public QObject {
    Q_OBJECT
public:
    explicit SingleInstance(QString name = InstanceName(), QObject* parent = nullptr);
    ~SingleInstance() override;

    // True when another copy runs and took `block` (this copy should end);
    // false when this copy is now the first one (it listens from now on).
    bool HandOverOrListen(const QByteArray& block);
    bool Listening() const;

Q_SIGNALS:
    // A second copy's argument, in the order they arrived.
    void ArgumentReceived(const QString& argument);

private:
    void Accept();
    QString name_;
    QLocalServer* server_ = nullptr;
};

}  // namespace corvan
