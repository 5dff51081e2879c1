#pragma once
// The control model: plain objects carrying the properties the logic reads and
// sets, in its own units (twips, RGB values). No widget is ever touched here;
// the Qt adapter draws these objects and feeds their events.

#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace platform {

// 0xRRGGBB. kSystemColor leaves the colour to the desktop theme.
using Color = std::uint32_t;
constexpr Color RGB(int r, int g, int b) {
  return (Color(r) << 16) | (Color(g) << 8) | Color(b);
}
constexpr Color kSystemColor = 0xFF000000u;

constexpr int kTwipsPerPixel = 15;

// One event of a control: the handler the subsystems wire in, raised by the
// adapter or by a test.
template <typename... Args>
struct Event {
  std::function<void(Args...)> handler;
  void operator()(Args... args) const {
    if (handler) handler(args...);
  }
};

// Button values of mouse events.
constexpr int kLeftButton = 1;
constexpr int kRightButton = 2;
using MouseEvent = Event<int /*Button*/, int /*Shift*/, float /*X*/, float /*Y*/>;

enum class Kind { Label, TextBox, ListBox, CommandButton, Frame, Shape, Image };

class Control {
 public:
  Control(Kind kind, QString name) : kind(kind), Name(std::move(name)) {}
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;
  virtual ~Control() = default;

  // Places the control, in twips inside its container.
  void Move(int left, int top, int width, int height) {
    Left = left;
    Top = top;
    Width = width;
    Height = height;
  }

  const Kind kind;
  const QString Name;  // "Label5(9)", "Command2": what tools and screen readers find
  Control* Container = nullptr;  // a Frame, or the form's client area when null

  QString Tag;
  QString ToolTipText;
  bool Visible = true;
  bool Enabled = true;
  bool FontBold = false;
  float FontSize = 9;  // points, at 96 DPI the windows' layout is made for
  int Left = 0, Top = 0, Width = 0, Height = 0;
  Color BackColor = kSystemColor;
  Color ForeColor = kSystemColor;
  // A label the keyboard reaches as it reaches a button: the month arrows,
  // the day cells and the notes, which a mouse user clicks. Other kinds take
  // the focus anyway.
  bool TabStop = false;

  Event<> Click;
  Event<> DblClick;
  MouseEvent MouseMove;
  MouseEvent MouseDown;
  MouseEvent MouseUp;
};

enum class Alignment { Left, Center, Right };

class Label : public Control {
 public:
  explicit Label(QString name) : Control(Kind::Label, std::move(name)) {}
  QString Caption;  // may hold CR LF line breaks
  Alignment Align = Alignment::Left;
  bool WordWrap = false;  // long captions break between words to fit the width
};

class CommandButton : public Control {
 public:
  explicit CommandButton(QString name) : Control(Kind::CommandButton, std::move(name)) {}
  QString Caption;
};

class Frame : public Control {
 public:
  explicit Frame(QString name) : Control(Kind::Frame, std::move(name)) {}
};

class Shape : public Control {
 public:
  explicit Shape(QString name) : Control(Kind::Shape, std::move(name)) {}
  bool Filled = true;            // false: outline only
  Color BorderColor = RGB(0, 0, 0);
};

class Image : public Control {
 public:
  explicit Image(QString name) : Control(Kind::Image, std::move(name)) {}
};

class TextBox : public Control {
 public:
  explicit TextBox(QString name) : Control(Kind::TextBox, std::move(name)) {}

  bool Locked = false;  // shows text the user cannot change

  const QString& Text() const { return text_; }
  // Every change of the text, by the user or by code, raises Change.
  void SetText(const QString& text);

  Event<int&> KeyPress;  // the character code, by reference; 0 drops the key
  Event<> Change;
  Event<> LostFocus;

 private:
  QString text_;
};

class ListBox : public Control {
 public:
  explicit ListBox(QString name) : Control(Kind::ListBox, std::move(name)) {}

  // ItemData keeps a number with each item, out of sight.
  void AddItem(const QString& item, int itemData = 0) {
    List.append(item);
    ItemData.push_back(itemData);
  }
  void Clear();
  int ListCount() const { return int(List.size()); }
  // The selected item's text, or empty when nothing is selected.
  QString Text() const;

  QStringList List;
  std::vector<int> ItemData;
  int ListIndex = -1;
};

class Timer {
 public:
  explicit Timer(QString name) : Name(std::move(name)) {}
  Timer(const Timer&) = delete;
  Timer& operator=(const Timer&) = delete;
  const QString Name;
  int Interval = 0;  // ms
  bool Enabled = true;
  Event<> Tick;  // the Timer event
};

class Menu {
 public:
  Menu(QString name, QString caption) : Name(std::move(name)), Caption(std::move(caption)) {}
  Menu(const Menu&) = delete;
  Menu& operator=(const Menu&) = delete;
  const QString Name;
  QString Caption;  // "-" draws a separator
  bool Enabled = true;
  bool Visible = true;
  std::vector<Menu*> Items;  // a pop-up menu's entries
  Event<> Click;
};

// A control array: elements named "Base(i)", indexed from 0.
template <typename C, int N>
class ControlArray {
 public:
  explicit ControlArray(const QString& base) {
    for (int i = 0; i < N; ++i) {
      items_[i] = std::make_unique<C>(QStringLiteral("%1(%2)").arg(base).arg(i));
    }
  }
  C& operator[](int i) { return *items_.at(std::size_t(i)); }
  const C& operator[](int i) const { return *items_.at(std::size_t(i)); }
  static constexpr int size() { return N; }

 private:
  std::array<std::unique_ptr<C>, N> items_;
};

enum class WindowState { Normal, Minimized };

// A top-level window: its own properties, its controls in creation order
// (later ones lie above earlier ones), its timers and its menu bar.
class Form {
 public:
  explicit Form(QString name) : Name(std::move(name)) {}
  Form(const Form&) = delete;
  Form& operator=(const Form&) = delete;
  virtual ~Form() = default;

  const QString Name;
  QString Caption;
  QString Tag;
  bool Visible = false;
  WindowState State = WindowState::Normal;
  bool Frameless = false;  // a window that draws its own frame
  bool FixedSize = false;  // no maximise, no resizing by the user
  bool ToolWindow = false; // kept off the task bar and out of the focus
  // Outer size and position; the client area is Width x ClientHeight().
  int Left = 0, Top = 0, Width = 0, Height = 0;
  int FrameHeight = 0;  // title bar, menu bar and borders, in twips
  int ClientHeight() const { return Height - FrameHeight; }

  std::vector<Control*> Controls;
  std::vector<Timer*> Timers;
  std::vector<Menu*> MenuBar;

  // Whether the user can see the control and so reach it with the keyboard:
  // shown and enabled with its containers, its middle inside the window and
  // no frame drawn over it (the today page lies over the calendar's controls).
  bool CanTakeFocus(const Control& control) const;

  MouseEvent MouseMove;
  Event<bool&> QueryUnload;  // the close box; setting Cancel keeps the window
  Event<> Resize;            // also raised when the window is minimised or restored

 protected:
  template <typename C>
  C& Add(C& control, Control* container = nullptr) {
    control.Container = container;
    Controls.push_back(&control);
    return control;
  }
  template <typename C, int N>
  void AddArray(ControlArray<C, N>& array, Control* container = nullptr) {
    for (int i = 0; i < N; ++i) Add(array[i], container);
  }
};

// The windows that are loaded now, for the adapter to draw.
class Desktop {
 public:
  virtual ~Desktop() = default;
  virtual std::vector<Form*> LoadedForms() = 0;
};

}  // namespace platform
