// Device frame decoding: maps every field of a valid frame to its record,
// converting raw numbers to the record's unit, with the rules that protect
// values the user is still sending.
#pragma once

// Meter conversions. Level of v <= 1 is about -138.47 dB. Gain(0) and
// Reduction(8388608) are minus infinity and Reduction above 8388608 is NaN;
// they are stored as they are and the drawing copes.
double LevelDb(double v);
double ReductionDb(double v);
double GainDb(double v);
double CorrelationOf(double s);
double QuarterDb(double v);

void DecodeDualMonoOrStereo(int table);
void DecodeAnalyser();

void DecodeSwitch(bool on, int id, int table);
// A setting the user drags is never taken over from the unit; when the unit
// reports another value it is marked for sending again.
void DecodeSetting(double x, int id, int table);
void DecodeMeter(double x, int id, int table);
