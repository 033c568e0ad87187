// Long texts in one-line fields are read from their beginning: a field that the program fills, or that
// the user leaves, shows its first characters rather than its last ones. While the user types in it,
// the field scrolls with the cursor as usual, and a field left for another program or a message keeps
// its cursor where it was.
#pragma once

class QLineEdit;

namespace FieldStart {

void install(QLineEdit* field);

} // namespace FieldStart
