# Warnings are errors on every compiler we build with (gcc, clang, MinGW gcc).
function(korvo_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Werror -Wshadow -Wformat=2
                                           -Wnon-virtual-dtor -Wno-unused-parameter)
endfunction()
