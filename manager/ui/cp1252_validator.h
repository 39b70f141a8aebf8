#pragma once
// Refuses, as they are typed or pasted, characters that a stored appointment line cannot
// hold: anything outside Windows-1252 and control characters (a line end would split the
// line in the data file). What is stored is then exactly what was shown.
#include <QValidator>

namespace zw {

class Cp1252Validator : public QValidator {
    Q_OBJECT
public:
    using QValidator::QValidator;
    State validate(QString& input, int& pos) const override;
};

} // namespace zw
