#include "platform/qt/menu_accessible.h"

#include <QAccessible>
#include <QAccessibleInterface>
#include <QAction>
#include <QMenuBar>
#include <QPointer>

namespace platform::qt {

namespace {

// An entry of a menu bar; its name is what it shows, its description the
// control name the adapter gave it as object name.
class MenuBarEntry : public QAccessibleInterface, public QAccessibleActionInterface {
 public:
  MenuBarEntry(QMenuBar* bar, QAction* action) : bar_(bar), action_(action) {}

  bool isValid() const override { return bar_ && action_; }
  QObject* object() const override { return action_; }
  QWindow* window() const override { return bar_->window()->windowHandle(); }
  QAccessibleInterface* childAt(int, int) const override { return nullptr; }
  QAccessibleInterface* parent() const override { return QAccessible::queryAccessibleInterface(bar_); }
  QAccessibleInterface* child(int) const override { return nullptr; }
  int childCount() const override { return 0; }
  int indexOfChild(const QAccessibleInterface*) const override { return -1; }
  QString text(QAccessible::Text t) const override {
    switch (t) {
      case QAccessible::Name: return QString(action_->text()).remove(QLatin1Char('&'));
      case QAccessible::Description: return action_->objectName();
      default: return {};
    }
  }
  void setText(QAccessible::Text, const QString&) override {}
  QRect rect() const override {
    const QRect r = bar_->actionGeometry(action_);
    return QRect(bar_->mapToGlobal(r.topLeft()), r.size());
  }
  QAccessible::Role role() const override { return QAccessible::MenuItem; }
  QAccessible::State state() const override {
    QAccessible::State s;
    s.disabled = !action_->isEnabled();
    s.invisible = !action_->isVisible() || !bar_->isVisible();
    s.focusable = true;
    s.focused = bar_->activeAction() == action_;
    return s;
  }
  void* interface_cast(QAccessible::InterfaceType t) override {
    return t == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this) : nullptr;
  }

  QStringList actionNames() const override { return {pressAction()}; }
  void doAction(const QString& name) override {
    if (name == pressAction() && action_->isEnabled()) action_->trigger();
  }
  QStringList keyBindingsForAction(const QString&) const override { return {}; }

 private:
  QPointer<QMenuBar> bar_;
  QPointer<QAction> action_;
};

QAccessibleInterface* MenuBarEntryFactory(const QString& className, QObject* object) {
  if (className != QLatin1String("QAction") || object->objectName().isEmpty()) return nullptr;
  auto* bar = qobject_cast<QMenuBar*>(object->parent());
  if (!bar) return nullptr;
  return new MenuBarEntry(bar, static_cast<QAction*>(object));
}

}  // namespace

void InstallMenuAccessibility() {
  static const bool installed = (QAccessible::installFactory(MenuBarEntryFactory), true);
  (void)installed;
}

}  // namespace platform::qt
