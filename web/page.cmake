# Writes the page: the template with the keys (escaped for HTML) and the linked script in
# their places. Run by the build: cmake -D page= -D keys= -D script= -D out= -P page.cmake
file(READ ${page} html)
file(READ ${keys} key_text)
file(READ ${script} code)
string(REPLACE "&" "&amp;" key_text "${key_text}")
string(REPLACE "<" "&lt;" key_text "${key_text}")
string(REPLACE ">" "&gt;" key_text "${key_text}")
# The script sits inside a script element, which its own text must not close.
string(FIND "${code}" "</script" closes)
if(NOT closes EQUAL -1)
    message(FATAL_ERROR "${script} holds '</script', which would end the page's script early")
endif()
string(REPLACE "@SKYHUNT_KEYS@" "${key_text}" html "${html}")
string(REPLACE "@SKYHUNT_SCRIPT@" "${code}" html "${html}")
file(WRITE ${out} "${html}")
