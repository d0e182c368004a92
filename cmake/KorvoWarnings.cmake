# Warnings are errors on every compiler we build with (gcc, clang, MinGW gcc).
# (No -Wnon-virtual-dtor: the host interface has no destructor by contract.)
function(korvo_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Werror -Wshadow -Wformat=2
                                           -Wno-unused-parameter)
endfunction()
