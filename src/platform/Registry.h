#pragma once
// The per-user class store that stands in for HKEY_CLASSES_ROOT: keys named by "\"-separated
// paths matched without regard to case, each holding named string values and a default value
// (the empty name). Kept as a REGEDIT4 text file in the settings folder and replaced atomically
// on every change.

#include <QByteArray>
#include <QString>

#include <optional>
#include <vector>

namespace platform::registry {

QString StoreFile();  // settingsFolder() + "/classes.reg"

// One value of a key. Values that are not strings (dword:, hex:) are kept as their REGEDIT4 text.
struct Value {
    QString name;  // empty: the default value
    bool isString = true;
    QString data;  // the string, or the raw text after "=" for other kinds
};

struct Key {
    QString path;  // as first created, without the root
    std::vector<Value> values;
};

// The whole store in memory, in file order.
class Classes {
public:
    // Reads what it can: a line it does not understand is skipped and marks the text damaged.
    static Classes Parse(const QByteArray& text, bool* damaged = nullptr);
    QByteArray Serialize() const;

    Key* find(const QString& path);
    const Key* find(const QString& path) const;
    Key& create(const QString& path);  // parents included
    void set(Key& key, const QString& name, const QString& data);
    bool remove(Key& key, const QString& name);

    const std::vector<Key>& keys() const { return keys_; }

private:
    std::vector<Key> keys_;
};

// The operations on the stored file. Writes return false (and change nothing) when the store
// could not be read or written.
bool CreateKey(const QString& path);
bool KeyExists(const QString& path);
bool SetString(const QString& path, const QString& name, const QString& data);  // key must exist
std::optional<QString> QueryString(const QString& path, const QString& name);   // none: missing or not a string
bool DeleteValue(const QString& path, const QString& name);

}  // namespace platform::registry
