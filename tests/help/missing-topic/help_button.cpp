// A program that opens a topic the help file lacks: the check must name it.
const wchar_t* const kTopic = L"/no_such_topic.htm";
