#include "dialogkit/DialogTemplate.h"

#include "dialogkit/DialogUnits.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>

DialogTemplate::DialogTemplate(QWidget* owner, const DialogSpec& spec,
                               const QHash<int, QWidget*>& custom)
{
    const DialogUnits units(owner->font());
    const auto translated = [&spec](const char* text) {
        return *text ? QCoreApplication::translate(spec.context, text) : QString();
    };
    if (spec.caption)
        owner->setWindowTitle(translated(spec.caption));
    owner->setFixedSize(units.size(spec.width, spec.height));

    for (const ControlSpec& controlSpec : spec.controls) {
        QWidget* widget = create(controlSpec, translated(controlSpec.text), owner, custom);
        const QRect box =
            units.rect(controlSpec.x, controlSpec.y, controlSpec.width, controlSpec.height);
        widget->setGeometry(box);
        // A longer text, in another language, runs to the left, away from its edit box.
        if (controlSpec.kind == ControlKind::RightLabel)
            widget->move(box.right() + 1 - widget->width(), box.y());
        // A combo box's template height includes its drop-down list.
        if (controlSpec.kind == ControlKind::ComboBox)
            widget->resize(widget->width(), widget->sizeHint().height());
        if (controlSpec.id != 0) {
            widget->setObjectName(QString::number(controlSpec.id));
            m_controls.insert(controlSpec.id, widget);
        }
    }
}

QWidget* DialogTemplate::control(int id) const
{
    return m_controls.value(id);
}

QWidget* DialogTemplate::create(const ControlSpec& spec, const QString& text, QWidget* owner,
                                const QHash<int, QWidget*>& custom)
{
    switch (spec.kind) {
    case ControlKind::GroupBox: {
        auto* box = new QGroupBox(text, owner);
        // Group boxes only frame other controls; they must not cover them.
        box->lower();
        return box;
    }
    case ControlKind::Label:
    case ControlKind::RightLabel: {
        auto* label = new QLabel(text, owner);
        if (spec.kind == ControlKind::RightLabel)
            label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        // Fonts here run wider than the layout's own; a label may run past its box.
        label->setMinimumWidth(label->sizeHint().width());
        return label;
    }
    case ControlKind::PushButton:
        return new QPushButton(text, owner);
    case ControlKind::DefaultButton: {
        auto* button = new QPushButton(text, owner);
        button->setDefault(true);
        return button;
    }
    case ControlKind::Edit:
        return new QLineEdit(owner);
    case ControlKind::PasswordEdit: {
        auto* edit = new QLineEdit(owner);
        edit->setEchoMode(QLineEdit::Password);
        return edit;
    }
    case ControlKind::CheckBox: {
        auto* box = new QCheckBox(text, owner);
        // Like labels, a check box's text may run past its template box rather than be cut.
        box->setMinimumWidth(box->sizeHint().width());
        return box;
    }
    case ControlKind::Trackbar: {
        auto* slider = new QSlider(Qt::Horizontal, owner);
        slider->setTickPosition(QSlider::TicksBothSides);
        return slider;
    }
    case ControlKind::ComboBox:
        return new QComboBox(owner);
    case ControlKind::SpinBox:
        return new QSpinBox(owner);
    case ControlKind::ProgressBar: {
        auto* bar = new QProgressBar(owner);
        bar->setTextVisible(false);
        return bar;
    }
    case ControlKind::Custom: {
        QWidget* widget = custom.value(spec.id);
        Q_ASSERT(widget);
        widget->setParent(owner);
        return widget;
    }
    }
    Q_UNREACHABLE();
}
