# One INTERFACE target carries the language standard, warnings, Qt defines and
# sanitizer flags for every target of the project.
add_library(fq_options INTERFACE)
target_compile_features(fq_options INTERFACE cxx_std_20)
set(CMAKE_CXX_EXTENSIONS OFF)
target_compile_options(fq_options INTERFACE -Wall -Wextra -Wpedantic)
if(FQ_WERROR)
    target_compile_options(fq_options INTERFACE -Werror)
endif()
target_compile_definitions(fq_options INTERFACE
    QT_USE_QSTRINGBUILDER
    QT_NO_FOREACH
    QT_DISABLE_DEPRECATED_UP_TO=0x060000
    FQ_VERSION_MAJOR=${PROJECT_VERSION_MAJOR}
    FQ_VERSION_MINOR=${PROJECT_VERSION_MINOR}
    FQ_VERSION_REVISION=${PROJECT_VERSION_PATCH})
if(FQ_SANITIZE)
    target_compile_options(fq_options INTERFACE -fsanitize=address,undefined -fno-omit-frame-pointer
                                                -fno-sanitize-recover=undefined)
    target_link_options(fq_options INTERFACE -fsanitize=address,undefined)
endif()
