#pragma once

#include <QHash>
#include <QWidget>

#include <span>

enum class ControlKind
{
    GroupBox,
    Label,
    RightLabel, // a label ending at its box's right edge, as one left of an edit box
    PushButton,
    DefaultButton,
    Edit,
    PasswordEdit,
    CheckBox,
    Trackbar,
    ComboBox,
    SpinBox,
    ProgressBar,
    Custom, // a widget made by the owner, only placed here
};

// One control of a dialog layout, positioned in dialog units. Id 0 marks decoration. The
// text is the English one, marked with QT_TRANSLATE_NOOP in the layout's context.
struct ControlSpec
{
    int id;
    ControlKind kind;
    const char* text;
    int x, y, width, height;
};

// A dialog or form layout: the translation context of its texts (the dialog's class name),
// caption (may be null), size in dialog units and controls in template order, which is also
// the tab order.
struct DialogSpec
{
    const char* context;
    const char* caption;
    int width, height;
    std::span<const ControlSpec> controls;
};

// Builds the controls of a layout onto a widget and finds them by id afterwards.
class DialogTemplate
{
public:
    DialogTemplate(QWidget* owner, const DialogSpec& spec, const QHash<int, QWidget*>& custom = {});

    QWidget* control(int id) const;
    template <class T> T* control(int id) const
    {
        T* typed = qobject_cast<T*>(control(id));
        Q_ASSERT(typed);
        return typed;
    }

private:
    QWidget* create(const ControlSpec& spec, const QString& text, QWidget* owner,
                    const QHash<int, QWidget*>& custom);

    QHash<int, QWidget*> m_controls;
};
