#include "dialogkit/DataExchange.h"

#include "dialogkit/Prompter.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QCoreApplication>
#include <QLineEdit>
#include <QSlider>
#include <QSpinBox>

void DataExchange::bindText(QLineEdit* edit, QString* value)
{
    m_bindings.push_back({[=] { edit->setText(*value); },
                          [=] {
                              *value = edit->text();
                              return true;
                          }});
}

void DataExchange::bindInteger(QLineEdit* edit, int* value)
{
    m_bindings.push_back({[=] { edit->setText(QString::number(*value)); },
                          [=, this] {
                              bool isInteger = false;
                              const int number = edit->text().trimmed().toInt(&isInteger, 10);
                              if (isInteger) {
                                  *value = number;
                                  return true;
                              }
                              m_prompter.message(QCoreApplication::translate(
                                                     "DataExchange", "Please enter an integer."),
                                                 MessageStyle::Warning);
                              edit->setFocus();
                              edit->selectAll();
                              return false;
                          }});
}

void DataExchange::bindCheck(QAbstractButton* box, int* value)
{
    m_bindings.push_back({[=] { box->setChecked(*value != 0); },
                          [=] {
                              *value = box->isChecked() ? 1 : 0;
                              return true;
                          }});
}

void DataExchange::bindSlider(QSlider* slider, int* value)
{
    m_bindings.push_back({[=] { slider->setValue(*value); },
                          [=] {
                              *value = slider->value();
                              return true;
                          }});
}

void DataExchange::bindSpin(QSpinBox* box, int* value)
{
    m_bindings.push_back({[=] { box->setValue(*value); },
                          [=] {
                              *value = box->value();
                              return true;
                          }});
}

void DataExchange::bindIndex(QComboBox* box, int* value)
{
    m_bindings.push_back({[=] { box->setCurrentIndex(*value < box->count() ? *value : -1); },
                          [=] {
                              if (box->currentIndex() >= 0)
                                  *value = box->currentIndex();
                              return true;
                          }});
}

bool DataExchange::UpdateData(bool saveAndValidate)
{
    for (const Binding& binding : m_bindings) {
        if (!saveAndValidate)
            binding.toControl();
        else if (!binding.fromControl())
            return false;
    }
    return true;
}
