# The native build exists to check the portable code: it always runs under
# AddressSanitizer and UndefinedBehaviorSanitizer.
add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer -g)
add_link_options(-fsanitize=address,undefined)
