# Every target of the project is built with warnings as errors.
add_compile_options(-Wall -Wextra -Werror -Wshadow -Wnon-virtual-dtor)
