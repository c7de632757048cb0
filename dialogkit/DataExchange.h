#pragma once

#include <QString>

#include <functional>
#include <vector>

class Prompter;
class QAbstractButton;
class QComboBox;
class QLineEdit;
class QSlider;
class QSpinBox;

// Moves values between a dialog's controls and the fields they edit, in the order the
// bindings were made.
class DataExchange
{
public:
    explicit DataExchange(Prompter& prompter) : m_prompter(prompter) {}

    void bindText(QLineEdit* edit, QString* value);
    // Taken only from a signed decimal integer, blanks or tabs around it allowed.
    void bindInteger(QLineEdit* edit, int* value);
    // 1 when ticked, 0 when clear; any non-zero value ticks the box.
    void bindCheck(QAbstractButton* box, int* value);
    // The slider shows values outside its range at the nearer end.
    void bindSlider(QSlider* slider, int* value);
    // A value outside the box's range is shown, and then taken, at the nearer end.
    void bindSpin(QSpinBox* box, int* value);
    // The value is the index of the item chosen. A value with no item shows no item and is
    // kept as it is until one is chosen.
    void bindIndex(QComboBox* box, int* value);

    // Towards the fields (true) or the controls (false). Taking a box that is refused
    // says so, selects the box and stops there, returning false.
    bool UpdateData(bool saveAndValidate);

private:
    struct Binding
    {
        std::function<void()> toControl;
        std::function<bool()> fromControl;
    };

    Prompter& m_prompter;
    std::vector<Binding> m_bindings;
};
