#include "plugins/livedata/trigger_screen.h"

#include <algorithm>
#include <charconv>
#include <cstdio>

#include "plugins/livedata/graph_dialogs.h"
#include "plugins/livedata/graph_texts.h"

namespace corvan::livedata {

namespace {

constexpr int kLongestSide = 30;  // seconds before or after: the capture fits one graph window

std::optional<int> seconds(const std::string& text) {
    int v = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
    if (ec != std::errc() || end != text.data() + text.size() || v < 1 || v > kLongestSide)
        return std::nullopt;
    return v;
}

std::string thresholdText(double v) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%g", v);
    return buf;
}

}  // namespace

std::optional<TriggerRule> checkTriggerEntry(const LiveRecording& recording,
                                             const TriggerEntry& entry, const TextTable** problem) {
    TriggerRule rule;
    if (entry.item < 0 || static_cast<size_t>(entry.item) >= recording.items().size()) return {};
    rule.item = static_cast<size_t>(entry.item);
    rule.condition = static_cast<TriggerCondition>(std::clamp(entry.condition, 0, 2));
    if (rule.condition == TriggerCondition::OutsideRange) {
        const auto& range = recording.items()[rule.item].range;
        if (!range) {
            *problem = &kNoRange;
            return {};
        }
        rule.range = *range;
    } else {
        const std::optional<double> threshold = readingNumber(entry.threshold);
        if (!threshold) {
            *problem = &kThresholdNotNumber;
            return {};
        }
        rule.threshold = *threshold;
    }
    const std::optional<int> before = seconds(entry.before), after = seconds(entry.after);
    if (!before || !after) {
        *problem = &kSecondsOutOfBounds;
        return {};
    }
    rule.beforeMs = int64_t{*before} * 1000;
    rule.afterMs = int64_t{*after} * 1000;
    return rule;
}

std::optional<TriggerRule> askTrigger(const ModuleContext& ctx, const LiveRecording& recording,
                                      const TriggerRule& current) {
    auto pick = [&](const TextTable& t) { return pickTextLiveData(t, ctx.language()); };
    std::unique_ptr<ui::Dialog> d = ctx.screen().createDialog(triggerTemplate());
    const TextTable* labels[5] = {&kTriggerItem, &kTriggerCondition, &kThreshold, &kSecondsBefore,
                                  &kSecondsAfter};
    for (int k = 0; k < 5; ++k) d->setText(kTriggerLabelIds[k], pick(*labels[k]));
    std::vector<std::string> names;
    for (const RecordedItem& it : recording.items())
        names.push_back(it.description.empty() ? it.key : it.description);
    d->setItems(kTriggerItemId, names);
    d->setCurrentItem(kTriggerItemId, static_cast<int>(current.item));
    d->setItems(kTriggerConditionId, {pick(kAbove), pick(kBelow), pick(kOutsideRange)});
    d->setCurrentItem(kTriggerConditionId, static_cast<int>(current.condition));
    d->setText(kThresholdId, thresholdText(current.threshold));
    d->setText(kBeforeId, std::to_string(current.beforeMs / 1000));
    d->setText(kAfterId, std::to_string(current.afterMs / 1000));
    d->setText(kArmId, pick(kArmButton));
    d->setText(kTriggerCancelId, pick(kCancelButton));
    d->setTitle(pick(kTriggerTitle) + (names.empty() ? std::string() : names[current.item]));
    ui::DialogHandlers h;
    ui::Dialog* raw = d.get();
    h.onButton = [raw](int id) {
        if (id == kArmId) raw->setCommand("ARM");
        if (id == kTriggerCancelId) raw->setCommand("EXIT");
    };
    h.onSelectionChange = [raw](int id) {
        if (id == kTriggerItemId) raw->setCommand("ITEM");
    };
    h.onClose = [raw] { raw->setCommand("EXIT"); };
    d->setHandlers(std::move(h));
    d->show(true);

    std::optional<TriggerRule> armed;
    for (;;) {
        ctx.pumpMessages();
        const std::string word = d->command();
        if (word.empty()) continue;
        d->clearCommand();
        if (word == "EXIT") break;
        if (word == "ITEM") {
            const int item = d->currentItem(kTriggerItemId);
            if (item >= 0 && static_cast<size_t>(item) < names.size())
                d->setTitle(pick(kTriggerTitle) + names[static_cast<size_t>(item)]);
            continue;
        }
        const TriggerEntry entry{d->currentItem(kTriggerItemId),
                                 d->currentItem(kTriggerConditionId), d->text(kThresholdId),
                                 d->text(kBeforeId), d->text(kAfterId)};
        const TextTable* problem = nullptr;
        armed = checkTriggerEntry(recording, entry, &problem);
        if (armed) break;
        if (problem) ctx.messageBox(pick(*problem));
    }
    d->setHandlers({});
    d->show(false);
    return armed;
}

}  // namespace corvan::livedata
