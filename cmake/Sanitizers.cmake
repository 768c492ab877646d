# The native build exists to check the portable code: by default it runs under
# AddressSanitizer and UndefinedBehaviorSanitizer. Only a build of what is shipped from it
# (the ztrec package, scripts/package) turns them off.
option(ZT_SANITIZE "Build the native tree under AddressSanitizer and UndefinedBehaviorSanitizer" ON)
if(ZT_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer -g)
  add_link_options(-fsanitize=address,undefined)
endif()
