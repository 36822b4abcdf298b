#pragma once
// The verb coin: the choice of look, use, talk and combine at a hotspot ("choice_buttons").

namespace VerbCoin {

bool isOpen();
void close();
void registerEvents();

} // namespace VerbCoin
