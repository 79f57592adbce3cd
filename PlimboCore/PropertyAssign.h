#pragma once

namespace plimbo {

// Stores `value` in `field` and emits `owner`'s `changed` signal only when the two differ: every
// observable property of the model notifies on change and never on a repeated value.
template <typename Owner, typename T, typename Value>
bool assign(Owner* owner, T& field, const Value& value, void (Owner::*changed)()) {
    if (field == value) {
        return false;
    }
    field = value;
    emit(owner->*changed)();
    return true;
}

} // namespace plimbo
