#pragma once
// How a declared argument takes its values from the command line.

namespace ap {

enum class ParsingStrategy {
    default_,           ///< option: attached, joined or the next value; positional: next value
    scanningForValue,   ///< option: may skip following options to the first value
    unconditional,      ///< option: the next element whatever it looks like
    upToNextOption,     ///< array option: values until the next option or terminator
    allRemainingInput,  ///< every remaining element
    postTerminator,     ///< positional array: only the values after "--"
    allUnrecognized,    ///< positional array: everything no other argument used
};

/// The strategies a single-valued option may declare.
struct SingleValueParsingStrategy {
    ParsingStrategy base;
    static SingleValueParsingStrategy next() { return {ParsingStrategy::default_}; }
    static SingleValueParsingStrategy scanningForValue() { return {ParsingStrategy::scanningForValue}; }
    static SingleValueParsingStrategy unconditional() { return {ParsingStrategy::unconditional}; }
};

/// The strategies an array option may declare.
struct ArrayParsingStrategy {
    ParsingStrategy base;
    static ArrayParsingStrategy singleValue() { return {ParsingStrategy::default_}; }
    static ArrayParsingStrategy unconditionalSingleValue() { return {ParsingStrategy::unconditional}; }
    static ArrayParsingStrategy upToNextOption() { return {ParsingStrategy::upToNextOption}; }
    static ArrayParsingStrategy remaining() { return {ParsingStrategy::allRemainingInput}; }
};

/// The strategies a positional array may declare.
struct ArgumentArrayParsingStrategy {
    ParsingStrategy base;
    static ArgumentArrayParsingStrategy remaining() { return {ParsingStrategy::default_}; }
    static ArgumentArrayParsingStrategy unconditionalRemaining() { return {ParsingStrategy::allRemainingInput}; }
    static ArgumentArrayParsingStrategy postTerminator() { return {ParsingStrategy::postTerminator}; }
    static ArgumentArrayParsingStrategy allUnrecognized() { return {ParsingStrategy::allUnrecognized}; }
};

}  // namespace ap
