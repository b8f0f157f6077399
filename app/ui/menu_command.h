// A menu command with its shortcut shown in the menu, connected to `f`.
#pragma once

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QObject>
#include <QString>

namespace kestrel {

template <class F>
QAction* AddCommand(QMenu* menu, const QString& text, const QKeySequence& key, QObject* receiver, F f) {
  QAction* a = menu->addAction(text);
  a->setShortcut(key);
  QObject::connect(a, &QAction::triggered, receiver, f);
  return a;
}

}  // namespace kestrel
