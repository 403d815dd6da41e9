#include "platform/AuxVolume.h"
#include "platform/Settings.h"

#include <algorithm>
#include <map>
#include <optional>

namespace platform {

namespace {

struct AuxState {
    std::optional<uint32_t> values[3];
    std::map<int, AuxListener> listeners;
    int nextId = 1;
};

AuxState& state()
{
    static AuxState* s = new AuxState;  // outlives every stream torn down at exit
    return *s;
}

bool known(uint32_t device) { return device == AuxMedia || device == AuxCd; }

QString key(uint32_t device) { return QStringLiteral("Device%1").arg(device); }

}  // namespace

uint32_t auxGetVolume(uint32_t device)
{
    if (!known(device)) return 0;
    auto& slot = state().values[device];
    if (!slot) {
        bool ok = false;
        const uint32_t stored = GetSetting(QStringLiteral("Volumes"), key(device)).toUInt(&ok);
        slot = ok ? stored : AuxFull;
    }
    return *slot;
}

bool auxSetVolume(uint32_t device, uint32_t value)
{
    if (!known(device)) return false;
    state().values[device] = value;
    SaveSetting(QStringLiteral("Volumes"), key(device), QString::number(value));
    const auto listeners = state().listeners;  // a listener may remove itself
    for (const auto& [id, listener] : listeners) listener(device);
    return true;
}

double auxGain(uint32_t device)
{
    const uint32_t value = auxGetVolume(device);
    const uint32_t loudest = std::max(value & 0xFFFFu, value >> 16);
    return loudest / 65535.0;
}

int addAuxListener(AuxListener listener)
{
    const int id = state().nextId++;
    state().listeners.emplace(id, std::move(listener));
    return id;
}

void removeAuxListener(int id) { state().listeners.erase(id); }

void resetAuxVolumes()
{
    for (auto& v : state().values) v.reset();
}

}  // namespace platform
