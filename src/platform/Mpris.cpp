#include "platform/Mpris.h"
#include "platform/FileNames.h"
#include "platform/DesktopBridge.h"

#include <QDBusAbstractAdaptor>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QFileInfo>
#include <QUrl>
#include <QVariantMap>

namespace platform::mpris {

namespace {

const QString ObjectPath = QStringLiteral("/org/mpris/MediaPlayer2");
const QString PlayerInterface = QStringLiteral("org.mpris.MediaPlayer2.Player");

QVariantMap toMap(const Metadata& m)
{
    QVariantMap map;
    map.insert(QStringLiteral("mpris:trackid"), QVariant::fromValue(QDBusObjectPath(m.trackId)));
    if (m.lengthUs > 0) map.insert(QStringLiteral("mpris:length"), qlonglong(m.lengthUs));
    map.insert(QStringLiteral("xesam:title"), m.title);
    if (!m.artist.isEmpty()) map.insert(QStringLiteral("xesam:artist"), QStringList{m.artist});
    if (!m.album.isEmpty()) map.insert(QStringLiteral("xesam:album"), m.album);
    if (m.trackNumber > 0) map.insert(QStringLiteral("xesam:trackNumber"), m.trackNumber);
    if (!m.url.isEmpty()) map.insert(QStringLiteral("xesam:url"), m.url);
    if (!m.artUrl.isEmpty()) map.insert(QStringLiteral("mpris:artUrl"), m.artUrl);
    return map;
}

class RootAdaptor : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.mpris.MediaPlayer2")
    Q_PROPERTY(bool CanQuit READ yes)
    Q_PROPERTY(bool CanRaise READ yes)
    Q_PROPERTY(bool HasTrackList READ no)
    Q_PROPERTY(QString Identity READ identity)
    Q_PROPERTY(QString DesktopEntry READ desktopEntry)
    Q_PROPERTY(QStringList SupportedUriSchemes READ schemes)
    Q_PROPERTY(QStringList SupportedMimeTypes READ mimeTypes)
public:
    RootAdaptor(QObject* parent, Player& player) : QDBusAbstractAdaptor(parent), player_(player) { }
    bool yes() const { return true; }
    bool no() const { return false; }
    QString identity() const { return QStringLiteral("Sonorell Player"); }
    QString desktopEntry() const { return QStringLiteral("sonorell"); }
    QStringList schemes() const { return {QStringLiteral("file")}; }
    QStringList mimeTypes() const { return desktop::FileMimeTypes() + desktop::PlaylistMimeTypes(); }
public slots:
    void Raise() { player_.raise(); }
    void Quit() { player_.quit(); }

private:
    Player& player_;
};

class PlayerAdaptor : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.mpris.MediaPlayer2.Player")
    Q_PROPERTY(QString PlaybackStatus READ playbackStatus)
    Q_PROPERTY(double Rate READ rate WRITE setRate)
    Q_PROPERTY(double MinimumRate READ rate)
    Q_PROPERTY(double MaximumRate READ rate)
    Q_PROPERTY(QVariantMap Metadata READ metadata)
    Q_PROPERTY(double Volume READ volume WRITE setVolume)
    Q_PROPERTY(qlonglong Position READ position)
    Q_PROPERTY(bool CanGoNext READ canGoNext)
    Q_PROPERTY(bool CanGoPrevious READ canGoPrevious)
    Q_PROPERTY(bool CanPlay READ canPlay)
    Q_PROPERTY(bool CanPause READ canPause)
    Q_PROPERTY(bool CanSeek READ canSeek)
    Q_PROPERTY(bool CanControl READ canControl)
public:
    PlayerAdaptor(QObject* parent, Player& player, QDBusConnection bus)
        : QDBusAbstractAdaptor(parent), player_(player), bus_(std::move(bus))
    { }
    QString playbackStatus() const { return player_.status().playback; }
    double rate() const { return 1.0; }
    void setRate(double) { }  // one speed only
    QVariantMap metadata() const { return toMap(player_.status().metadata); }
    double volume() const { return player_.status().volume; }
    void setVolume(double v) { player_.setVolume(v); }
    qlonglong position() const { return player_.positionUs(); }
    bool canGoNext() const { return player_.status().canGoNext; }
    bool canGoPrevious() const { return player_.status().canGoPrevious; }
    bool canPlay() const { return player_.status().canPlay; }
    bool canPause() const { return player_.status().canPause; }
    bool canSeek() const { return player_.status().canSeek; }
    bool canControl() const { return true; }
public slots:
    void Next() { player_.next(); }
    void Previous() { player_.previous(); }
    void Pause() { player_.pause(); }
    void PlayPause() { player_.playPause(); }
    void Stop() { player_.stop(); }
    void Play() { player_.play(); }
    void Seek(qlonglong offset) { player_.seek(offset); }
    void SetPosition(const QDBusObjectPath& trackId, qlonglong position) { player_.setPosition(trackId.path(), position); }
    // A local file (or folder, or playlist) is added to the list and plays; anything else is
    // refused with an error, not taken in silence.
    void OpenUri(const QString& uri, const QDBusMessage& message)
    {
        const QUrl url(uri);
        if (!url.isLocalFile())
            return refuse(message, QDBusError::NotSupported, QStringLiteral("Only file:// URIs are opened: ") + uri);
        const QString path = LocalFileOf(url);
        if (!PathExists(path))
            return refuse(message, QDBusError::InvalidArgs, QStringLiteral("No such file: ") + ReadableFileName(path));
        player_.open(path);
    }
signals:
    void Seeked(qlonglong Position);

private:
    void refuse(const QDBusMessage& message, QDBusError::ErrorType type, const QString& text)
    {
        message.setDelayedReply(true);
        bus_.send(message.createErrorReply(type, text));
    }

    Player& player_;
    QDBusConnection bus_;
};

class BusService : public Service {
public:
    BusService(Player& player, QDBusConnection bus) : player_(player), bus_(std::move(bus))
    {
        new RootAdaptor(&object_, player);
        adaptor_ = new PlayerAdaptor(&object_, player, bus_);
    }
    ~BusService() override
    {
        bus_.unregisterObject(ObjectPath);
        bus_.unregisterService(ServiceName);
    }
    bool registerOnBus()
    {
        if (!bus_.registerObject(ObjectPath, &object_, QDBusConnection::ExportAdaptors)) return false;
        if (bus_.registerService(ServiceName)) {
            last_ = player_.status();
            return true;
        }
        bus_.unregisterObject(ObjectPath);
        return false;
    }

    void Publish() override
    {
        const Status now = player_.status();
        QVariantMap changed;
        if (now.playback != last_.playback) changed.insert(QStringLiteral("PlaybackStatus"), now.playback);
        if (!(now.metadata == last_.metadata)) changed.insert(QStringLiteral("Metadata"), toMap(now.metadata));
        if (now.volume != last_.volume) changed.insert(QStringLiteral("Volume"), now.volume);
        if (now.canGoNext != last_.canGoNext) changed.insert(QStringLiteral("CanGoNext"), now.canGoNext);
        if (now.canGoPrevious != last_.canGoPrevious) changed.insert(QStringLiteral("CanGoPrevious"), now.canGoPrevious);
        if (now.canPlay != last_.canPlay) changed.insert(QStringLiteral("CanPlay"), now.canPlay);
        if (now.canPause != last_.canPause) changed.insert(QStringLiteral("CanPause"), now.canPause);
        if (now.canSeek != last_.canSeek) changed.insert(QStringLiteral("CanSeek"), now.canSeek);
        last_ = now;
        if (changed.isEmpty()) return;
        QDBusMessage signal = QDBusMessage::createSignal(ObjectPath, QStringLiteral("org.freedesktop.DBus.Properties"),
                                                         QStringLiteral("PropertiesChanged"));
        signal << PlayerInterface << changed << QStringList();
        bus_.send(signal);
    }

    void Seeked(qint64 positionUs) override { emit adaptor_->Seeked(positionUs); }

private:
    Player& player_;
    QDBusConnection bus_;
    QObject object_;
    PlayerAdaptor* adaptor_;
    Status last_;
};

}  // namespace

std::unique_ptr<Service> Service::Start(Player& player)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) return nullptr;
    auto service = std::make_unique<BusService>(player, bus);
    if (!service->registerOnBus()) return nullptr;
    return service;
}

}  // namespace platform::mpris

#include "Mpris.moc"
