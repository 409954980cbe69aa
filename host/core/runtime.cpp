#include "runtime.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "needle_mapping.h"

namespace host {

void FailureSet::Set(uint32_t key, bool active) {
    auto at = std::lower_bound(keys_.begin(), keys_.end(), key);
    const bool present = at != keys_.end() && *at == key;
    if (active && !present) keys_.insert(at, key);
    if (!active && present) keys_.erase(at);
}

bool FailureSet::Active(uint32_t key) const { return std::binary_search(keys_.begin(), keys_.end(), key); }

FailureEffect ElementFailures(const ElementHeader& element, const FailureSet& failures) {
    FailureEffect effect;
    if (element.failures == nullptr) return effect;
    for (size_t i = 0; i < kMaxFailureRecords && element.failures[i].key != 0; ++i) {
        const FailureRecord& record = element.failures[i];
        if (!failures.Active(record.key)) continue;
        switch (record.action) {
            case kFailFreeze: effect.freeze = true; break;
            case kFailZero: effect.zero = true; break;
            case kFailHide: effect.hide = true; break;
            default: break;  // an action we do not know does nothing
        }
    }
    return effect;
}

namespace {

// Depth first, parent before its children, each child with everything below it before the next.
void Collect(ElementHeader* element, int32_t parent, size_t depth, std::vector<ElementState>& out,
             bool* overflow) {
    if (out.size() >= kMaxElements || depth >= kMaxTreeDepth) {
        *overflow = true;
        return;
    }
    ElementState state;
    state.element = element;
    state.parent = parent;
    out.push_back(state);
    const int32_t self = static_cast<int32_t>(out.size() - 1);
    if (element->children == nullptr) return;
    for (size_t i = 0; element->children[i] != nullptr; ++i) {
        if (out.size() >= kMaxElements) {
            *overflow = true;
            return;
        }
        Collect(element->children[i], self, depth + 1, out, overflow);
    }
}

double Bounded(double v, double limit) { return std::clamp(v, -limit, limit); }

// Value of one axis: the callback's result where there is one, else the variable's value.
double AxisValue(ElementHeader* element, HostVariable& variable, ValueCallback callback) {
    return callback != nullptr ? callback(element) : VariableNumber(variable);
}

void Refresh(HostVariable& variable, const TokenStore& tokens) {
    if (variable.token != 0) RefreshVariable(variable, tokens);
}

// A product for display: NaN leaves what was shown, infinities and huge values are held.
void SetShown(double& shown, double value, double limit) {
    if (!std::isnan(value)) shown = Bounded(value, limit);
}

}  // namespace

bool PrepareInstance(GaugeInstance& instance, std::string* error) {
    ReleaseInstance(instance);
    ElementHeader* root = instance.header->elements[0];
    bool overflow = false;
    instance.states.reserve(16);
    Collect(root, -1, 0, instance.states, &overflow);
    if (overflow) {
        *error = "gauge " + instance.gauge_name + ": element tree deeper than " +
                 std::to_string(kMaxTreeDepth) + " or larger than " + std::to_string(kMaxElements) +
                 " elements";
        ReleaseInstance(instance);
        return false;
    }
    size_t storage = 0;
    instance.text_offset.assign(instance.states.size(), 0);
    for (size_t i = 0; i < instance.states.size(); ++i) {
        const ElementHeader* e = instance.states[i].element;
        if (e->kind != kString) continue;
        const uint32_t count = ElementAs<StringElement>(e)->char_count;
        if (count > kMaxTextChars) {
            *error = "gauge " + instance.gauge_name + ": text box with character count " +
                     std::to_string(count) + " (at most " + std::to_string(kMaxTextChars) + ")";
            ReleaseInstance(instance);
            return false;
        }
        instance.text_offset[i] = static_cast<uint32_t>(storage);
        storage += count + 1;
    }
    instance.text_storage.assign(storage, '\0');
    instance.updated = false;
    return true;
}

void ReleaseInstance(GaugeInstance& instance) {
    instance.states = {};
    instance.text_storage = {};
    instance.text_offset = {};
    instance.updated = false;
}

void RefreshVariable(HostVariable& variable, const TokenStore& tokens) {
    std::memcpy(variable.previous, variable.value, sizeof variable.value);
    if (IsBcdToken(variable.token)) SetVariableBcd(variable, tokens.GetBcd(variable.token));
    else SetVariableNumber(variable, tokens.Get(variable.token));
}

void UpdateInstance(GaugeInstance& instance, const TokenStore& tokens, const FailureSet& failures) {
    double mark_angles[kMaxTableEntries];
    const bool first = !instance.updated;
    for (size_t i = 0; i < instance.states.size(); ++i) {
        ElementState& st = instance.states[i];
        ElementHeader* e = st.element;
        const FailureEffect effect = ElementFailures(*e, failures);
        st.visible = !effect.hide;
        st.frozen = effect.freeze;
        // A frozen element keeps what it showed when the failure began; its callbacks still run
        // (they may keep module state, such as alarm flags), only the shown results stand still.
        // The first update after install always shows the live reading.
        const bool show = !effect.freeze || first;
        auto pick = [&](double v) { return effect.zero ? 0.0 : v; };

        switch (e->kind) {
            case kNeedle: {
                auto* n = ElementAs<NeedleElement>(e);
                Refresh(n->variable, tokens);
                const double v = pick(AxisValue(e, n->variable, n->callback));
                st.value = v;
                if (!show) break;
                const size_t count = NeedleMarkAngles(n->table, n->entries, e->x, e->y, mark_angles);
                const double target = NeedleAngle(n->table, mark_angles, count, v);
                if (!std::isnan(target)) st.target_angle = target;
                st.angle = first ? st.target_angle : TurnToward(st.angle, st.target_angle, n->turn_limit);
                break;
            }
            case kString: {
                auto* s = ElementAs<StringElement>(e);
                for (HostVariable& var : s->variables) Refresh(var, tokens);
                char* buffer = instance.text_storage.data() + instance.text_offset[i];
                const uint32_t count = s->char_count;
                std::memset(buffer, 0, count + 1);
                // The record is shared by every instance: it holds this instance's buffer only
                // for the length of the call.
                s->text = buffer;
                const double v = s->callback != nullptr ? s->callback(e) : VariableNumber(s->variables[0]);
                s->text = nullptr;
                buffer[count] = '\0';  // a callback that wrote no terminator still ends here
                st.value = pick(v);
                if (!show) break;
                const size_t copy = std::min<size_t>(std::strlen(buffer), sizeof st.text - 1);
                std::memcpy(st.text, buffer, copy);
                st.text[copy] = '\0';
                break;
            }
            case kSlider: {
                auto* s = ElementAs<SliderElement>(e);
                Refresh(s->x_variable, tokens);
                Refresh(s->y_variable, tokens);
                const double x = pick(VariableNumber(s->x_variable));
                const double y = pick(VariableNumber(s->y_variable));
                st.value = x;
                st.value_y = y;
                if (!show) break;
                SetShown(st.shift_x, x * s->x_scale, kMaxShift);
                SetShown(st.shift_y, y * s->y_scale, kMaxShift);
                break;
            }
            case kIcon: {
                auto* icon = ElementAs<IconElement>(e);
                Refresh(icon->variable, tokens);
                const double v = pick(AxisValue(e, icon->variable, icon->callback));
                st.value = v;
                if (!show || std::isnan(v)) break;
                // Indices are host values made integers by truncation, held within the run.
                const double last = icon->count > 0 ? static_cast<double>(icon->count - 1) : 0.0;
                const double scaled = icon->scale != 0 ? v * icon->scale : v;
                if (std::isnan(scaled)) break;
                const double index = std::clamp(std::trunc(scaled) + icon->offset_value, 0.0, last);
                st.index = static_cast<int32_t>(std::min(index, 2147483647.0));
                break;
            }
            case kMovingImage: {
                auto* m = ElementAs<MovingImageElement>(e);
                Refresh(m->x_variable, tokens);
                Refresh(m->y_variable, tokens);
                const double x = pick(AxisValue(e, m->x_variable, m->x_callback));
                const double y = pick(AxisValue(e, m->y_variable, m->y_callback));
                st.value = x;
                st.value_y = y;
                if (!show) break;
                auto strip = [](double& shown, double v, double a, double b) {
                    if (std::isnan(v) || std::isnan(a) || std::isnan(b)) return;
                    shown = std::clamp(v, std::min(a, b), std::max(a, b));
                };
                strip(st.strip_x, x, m->x_min, m->x_max);
                strip(st.strip_y, y, m->y_min, m->y_max);
                break;
            }
            case kSprite: {
                auto* s = ElementAs<SpriteElement>(e);
                Refresh(s->x_variable, tokens);
                Refresh(s->y_variable, tokens);
                Refresh(s->rotation_variable, tokens);
                const double x = pick(AxisValue(e, s->x_variable, s->x_callback));
                const double y = pick(AxisValue(e, s->y_variable, s->y_callback));
                const double r = pick(AxisValue(e, s->rotation_variable, s->rotation_callback));
                st.value = x;
                st.value_y = y;
                st.value_rotation = r;
                if (!show) break;
                SetShown(st.shift_x, x * s->x_scale, kMaxShift);
                SetShown(st.shift_y, y * s->y_scale, kMaxShift);
                SetShown(st.rotation, r * s->rotation_scale, kMaxAngle);
                break;
            }
            default:  // static images, and kinds we do not know: nothing beyond the header is read
                break;
        }
    }
    instance.updated = true;
}

}  // namespace host
