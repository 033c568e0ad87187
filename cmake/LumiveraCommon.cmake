# One interface target carries the warnings, the Qt defines and the sanitizer flags for every target.
add_library(lumivera_common INTERFACE)
target_compile_options(lumivera_common INTERFACE -Wall -Wextra -Wpedantic -Wshadow -Wold-style-cast -Werror)
target_compile_definitions(lumivera_common INTERFACE
    QT_NO_CAST_FROM_ASCII
    QT_NO_CAST_TO_ASCII
    QT_NO_CAST_FROM_BYTEARRAY
    QT_USE_QSTRINGBUILDER
    QT_NO_URL_CAST_FROM_STRING
    QT_DISABLE_DEPRECATED_BEFORE=0x060400
    QT_NO_KEYWORDS)
if(LUMIVERA_SANITIZE)
    set(_san -fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
    target_compile_options(lumivera_common INTERFACE ${_san})
    target_link_options(lumivera_common INTERFACE ${_san})
endif()
