#pragma once
// Applies the main window's tag table to real widgets and menu actions,
// found by object name below a root.
#include <QObject>
#include <QSet>
#include <QString>

#include <cstdint>

namespace corvan {

// `unavailable` names commands whose engine part is not there yet: they stay
// disabled whatever the state says. Returns how many tag entries matched an
// object.
int ApplyTagTable(QObject* root, std::uint32_t stateBits, const QSet<QString>& unavailable = {});

// A form row's caption follows its field: hidden with it, shown with it.
void SyncFormCaptions(QObject* root);

}  // namespace corvan
