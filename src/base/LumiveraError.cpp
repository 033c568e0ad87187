#include "base/LumiveraError.h"

LumiveraError::LumiveraError(const QString& text)
    : std::runtime_error(text.toStdString())
    , m_text(text) {}

LumiveraError::~LumiveraError() = default;
