// The messages of the archive that every window working on a book shows.
#pragma once

// The error box shown when a book's archive cannot be read or written.
void showArchiveAccessMessage();
